#include "replace/TitleReplace.h"

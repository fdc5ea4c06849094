#include "replace/ReplacePatterns.h"

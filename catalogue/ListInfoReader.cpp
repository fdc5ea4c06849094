#include "catalogue/ListInfoReader.h"

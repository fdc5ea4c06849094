#include "catalogue/NameListWriters.h"

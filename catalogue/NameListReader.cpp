#include "catalogue/NameListReader.h"

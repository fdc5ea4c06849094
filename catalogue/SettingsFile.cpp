#include "catalogue/SettingsFile.h"

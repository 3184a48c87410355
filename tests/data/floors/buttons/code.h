#include "settings/level.h"

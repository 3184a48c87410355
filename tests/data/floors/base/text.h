#include "device/link.h"

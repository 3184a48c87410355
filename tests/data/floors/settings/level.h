#include "buttons/code.h"

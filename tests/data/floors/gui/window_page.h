#pragma once
#include "cli/mouse_session.h"

#include "gui/window_page.h"

class ButtonPage;

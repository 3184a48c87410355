#pragma once
// The pointer settings store of the desktop the program runs on; the platform's own file
// defines it.
#include <memory>

#include "settings/pointer_settings_store.h"

namespace kvr {

std::unique_ptr<PointerSettingsStore> makeDesktopPointerStore();

}  // namespace kvr

#pragma once
// The system's own words for a Windows error code, in UTF-8, without the closing period and
// line break; "error N" where the system has none.
#include <windows.h>

#include <string>

namespace kvr {

std::string systemText(DWORD error);

}  // namespace kvr

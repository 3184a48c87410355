#pragma once
// Pointer settings held in memory, recording every call in order: the desktop of the tests.
#include <map>
#include <string>
#include <vector>

#include "settings/pointer_settings_store.h"

namespace kvr {

class MemoryPointerStore : public PointerSettingsStore {
public:
    std::optional<int> read(PointerValue value) override;
    bool write(PointerValue value, int number) override;
    void applyPointerSpeed(int speed) override;
    void applyAcceleration(const PointerAcceleration& acceleration) override;
    void applyDoubleClickTime(int milliseconds) override;
    void applyScrollLines(int lines) override;

    // What the desktop holds; a value missing here reads as missing.
    std::map<PointerValue, int> values;
    // Every call: "read MouseSensitivity", "write MouseSensitivity 4", "applyPointerSpeed 4",
    // "applyAcceleration 6 10 1", "applyDoubleClickTime 550", "applyScrollLines 3".
    std::vector<std::string> calls;
    // Values the desktop has no place for: writing them fails and stores nothing.
    std::vector<PointerValue> withoutPlace;

    // The calls other than reads.
    std::vector<std::string> changes() const;
};

}  // namespace kvr

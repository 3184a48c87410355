#pragma once
// The desktop's pointer settings as the advanced page reads and sets them: one interface, with a
// store per desktop and one in memory for tests.
#include <array>
#include <optional>
#include <string_view>

namespace kvr {

// The stored settings, by the names the desktop stores them under where it uses those names.
enum class PointerValue {
    MouseSensitivity,  // pointer speed, 1..20
    MouseThreshold1,   // the acceleration triple
    MouseThreshold2,
    MouseSpeed,
    DoubleClickSpeed,  // double-click time, milliseconds
    WheelScrollLines,
};

std::string_view pointerValueName(PointerValue value);

// Threshold 1, threshold 2 and acceleration, in the order the desktop takes them.
using PointerAcceleration = std::array<int, 3>;

class PointerSettingsStore {
public:
    virtual ~PointerSettingsStore() = default;

    // The stored number; empty where the desktop keeps no such value or it is not a number.
    virtual std::optional<int> read(PointerValue value) = 0;
    // Stores the number; false where the desktop has no place for the value.
    virtual bool write(PointerValue value, int number) = 0;

    // The running desktop takes a setting at once. Desktops that apply a stored value by
    // themselves do nothing here.
    virtual void applyPointerSpeed(int speed) = 0;
    virtual void applyAcceleration(const PointerAcceleration& acceleration) = 0;
    virtual void applyDoubleClickTime(int milliseconds) = 0;
    virtual void applyScrollLines(int lines) = 0;
};

}  // namespace kvr

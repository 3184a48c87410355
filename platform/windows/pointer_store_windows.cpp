// Pointer settings of Windows: the text values of the user's "Control Panel" keys, and the
// system calls that make the running desktop take them.
#include <windows.h>

#include <charconv>
#include <memory>
#include <string>

#include "settings/desktop_pointer_store.h"

namespace kvr {

namespace {

const char* keyPath(PointerValue value) {
    return value == PointerValue::WheelScrollLines ? "Control Panel\\Desktop"
                                                   : "Control Panel\\Mouse";
}

class RegistryPointerStore : public PointerSettingsStore {
public:
    std::optional<int> read(PointerValue value) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(value), 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS)
            return std::nullopt;
        char text[64] = {};
        DWORD type = 0;
        DWORD size = sizeof(text) - 1;  // room for an ending the stored text may lack
        const std::string name(pointerValueName(value));
        const LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        // Another type than text, or a text that is no number, counts as no value.
        if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
        const char* end = text;
        while (end < text + size && *end != '\0') ++end;
        int number = 0;
        const auto [stop, error] = std::from_chars(text, end, number);
        if (error != std::errc() || stop != end || end == text) return std::nullopt;
        return number;
    }

    bool write(PointerValue value, int number) override {
        HKEY key = nullptr;
        // The key is opened, never created.
        if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(value), 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return false;
        const std::string name(pointerValueName(value));
        const std::string text = std::to_string(number);
        const LSTATUS status = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(text.c_str()),
                                              static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

    // The system keeps the previous setting when it refuses one; nothing is reported.
    void applyPointerSpeed(int speed) override {
        // Windows reads the speed from the pointer argument; Wine from the number argument, so
        // it goes in both.
        SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                              reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                              SPIF_SENDCHANGE);
    }

    void applyAcceleration(const PointerAcceleration& acceleration) override {
        int values[3] = {acceleration[0], acceleration[1], acceleration[2]};
        SystemParametersInfoA(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
    }

    void applyDoubleClickTime(int milliseconds) override {
        SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(milliseconds), nullptr,
                              SPIF_SENDCHANGE);
    }

    void applyScrollLines(int lines) override {
        SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr,
                              SPIF_UPDATEINIFILE);
    }
};

}  // namespace

std::unique_ptr<PointerSettingsStore> makeDesktopPointerStore() {
    return std::make_unique<RegistryPointerStore>();
}

}  // namespace kvr

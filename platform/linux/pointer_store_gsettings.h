#pragma once
// Pointer settings of desktops that keep them in GSettings under the GNOME mouse schema: the
// pointer speed as "speed" (-1..1) and the double-click time as "double-click" (ms). There is no
// scroll line count and no acceleration triple there; without the schema the store has nothing.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/pointer_settings_store.h"

namespace kvr {

class GSettingsPointerStore : public PointerSettingsStore {
public:
    static constexpr std::string_view kSchemaId = "org.gnome.desktop.peripherals.mouse";

    // Looks the schema up among the compiled schemas of `schemaFolder`, or the desktop's when
    // the folder is empty, at the first read or write: a window that never shows the pointer
    // settings never starts GSettings. A missing schema or key is no error: those values are
    // simply absent.
    explicit GSettingsPointerStore(std::string schemaFolder = {});
    ~GSettingsPointerStore() override;
    GSettingsPointerStore(const GSettingsPointerStore&) = delete;
    GSettingsPointerStore& operator=(const GSettingsPointerStore&) = delete;

    bool hasSchema();

    std::optional<int> read(PointerValue value) override;
    bool write(PointerValue value, int number) override;
    // The desktop applies its stored settings itself.
    void applyPointerSpeed(int) override {}
    void applyAcceleration(const PointerAcceleration&) override {}
    void applyDoubleClickTime(int) override {}
    void applyScrollLines(int) override {}

    // The pointer speed values of the ten levels on the desktop's scale, the middle one (10, the
    // usual default) at the desktop's default 0; and a desktop speed as the nearest of them.
    static double speedToDesktop(int speed);
    static int speedFromDesktop(double speed);

private:
    struct Settings;
    Settings& opened();

    std::string schemaFolder_;
    std::unique_ptr<Settings> settings_;
};

}  // namespace kvr

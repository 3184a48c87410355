#include "platform/linux/pointer_store_gsettings.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "settings/desktop_pointer_store.h"
#include "settings/pointer_settings.h"

namespace kvr {

namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";
// The pointer speed value that sits at the desktop's 0, and the ends of the table.
constexpr int kMiddleSpeed = 10;
constexpr int kSlowestSpeed = 1;
constexpr int kFastestSpeed = 18;

bool keyHasType(GSettingsSchema* schema, const char* name, const GVariantType* type) {
    if (!g_settings_schema_has_key(schema, name)) return false;
    GSettingsSchemaKey* key = g_settings_schema_get_key(schema, name);
    const bool same = g_variant_type_equal(g_settings_schema_key_get_value_type(key), type);
    g_settings_schema_key_unref(key);
    return same;
}

}  // namespace

struct GSettingsPointerStore::Settings {
    GSettings* settings = nullptr;
    bool hasSpeed = false;
    bool hasDoubleClick = false;
    // The desktop's exact speed behind the last value read, so that writing that value back does
    // not move a speed that lies between two levels.
    std::optional<std::pair<int, double>> lastSpeedRead;

    ~Settings() {
        if (settings) g_object_unref(settings);
    }
};

GSettingsPointerStore::GSettingsPointerStore(std::string schemaFolder)
    : schemaFolder_(std::move(schemaFolder)) {}

GSettingsPointerStore::Settings& GSettingsPointerStore::opened() {
    if (settings_) return *settings_;
    settings_ = std::make_unique<Settings>();
    GSettingsSchemaSource* source = nullptr;
    if (schemaFolder_.empty()) {
        source = g_settings_schema_source_get_default();
        if (source) g_settings_schema_source_ref(source);
    } else {
        source = g_settings_schema_source_new_from_directory(schemaFolder_.c_str(), nullptr, FALSE,
                                                             nullptr);
    }
    if (!source) return *settings_;
    // Looked up first: creating settings for a schema that is not installed ends the program.
    GSettingsSchema* schema =
        g_settings_schema_source_lookup(source, std::string(kSchemaId).c_str(), TRUE);
    g_settings_schema_source_unref(source);
    if (!schema) return *settings_;
    settings_->hasSpeed = keyHasType(schema, kSpeedKey, G_VARIANT_TYPE_DOUBLE);
    settings_->hasDoubleClick = keyHasType(schema, kDoubleClickKey, G_VARIANT_TYPE_INT32);
    settings_->settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return *settings_;
}

GSettingsPointerStore::~GSettingsPointerStore() = default;

bool GSettingsPointerStore::hasSchema() { return opened().settings != nullptr; }

double GSettingsPointerStore::speedToDesktop(int speed) {
    const int clamped = std::clamp(speed, kSlowestSpeed, kFastestSpeed);
    const int below = kMiddleSpeed - kSlowestSpeed;
    const int above = kFastestSpeed - kMiddleSpeed;
    const int fromMiddle = clamped - kMiddleSpeed;
    return fromMiddle <= 0 ? static_cast<double>(fromMiddle) / below
                           : static_cast<double>(fromMiddle) / above;
}

int GSettingsPointerStore::speedFromDesktop(double speed) {
    int nearest = kMiddleSpeed;
    double distance = INFINITY;
    for (int level = 1; level <= PointerSettingsModel::kLevels; ++level) {
        const int value = PointerSettingsModel::levelValue(PointerScale::Speed, level);
        const double d = std::fabs(speedToDesktop(value) - speed);
        if (d < distance) {
            distance = d;
            nearest = value;
        }
    }
    return nearest;
}

std::optional<int> GSettingsPointerStore::read(PointerValue value) {
    Settings& opened = this->opened();
    GSettings* settings = opened.settings;
    if (value == PointerValue::MouseSensitivity && opened.hasSpeed) {
        const double speed = g_settings_get_double(settings, kSpeedKey);
        const int shown = speedFromDesktop(speed);
        opened.lastSpeedRead = std::pair{shown, speed};
        return shown;
    }
    if (value == PointerValue::DoubleClickSpeed && opened.hasDoubleClick) {
        return g_settings_get_int(settings, kDoubleClickKey);
    }
    return std::nullopt;
}

bool GSettingsPointerStore::write(PointerValue value, int number) {
    Settings& opened = this->opened();
    GSettings* settings = opened.settings;
    bool written = false;
    if (value == PointerValue::MouseSensitivity && opened.hasSpeed) {
        const auto& last = opened.lastSpeedRead;
        if (last && last->first == number) return true;  // the desktop holds it already
        written = g_settings_set_double(settings, kSpeedKey, speedToDesktop(number));
        if (written) opened.lastSpeedRead.reset();
    } else if (value == PointerValue::DoubleClickSpeed && opened.hasDoubleClick) {
        written = g_settings_set_int(settings, kDoubleClickKey, number);
    } else {
        return false;
    }
    // Hands the change to the desktop now rather than whenever the program's main loop runs.
    g_settings_sync();
    return written;
}

std::unique_ptr<PointerSettingsStore> makeDesktopPointerStore() {
    return std::make_unique<GSettingsPointerStore>();
}

}  // namespace kvr

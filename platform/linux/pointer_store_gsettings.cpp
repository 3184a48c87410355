#include "platform/linux/pointer_store_gsettings.h"

// GIO's declarations only: the library is opened at the first read or write.
#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/linux/library_functions.h"
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

// Every GIO function the store calls: GIO and the libraries it brings are opened when the store
// is first used.
#define KVR_GIO_FUNCTIONS(X)                       \
    X(g_settings_schema_source_get_default)        \
    X(g_settings_schema_source_new_from_directory) \
    X(g_settings_schema_source_ref)                \
    X(g_settings_schema_source_unref)              \
    X(g_settings_schema_source_lookup)             \
    X(g_settings_schema_unref)                     \
    X(g_settings_schema_has_key)                   \
    X(g_settings_schema_get_key)                   \
    X(g_settings_schema_key_get_value_type)        \
    X(g_settings_schema_key_unref)                 \
    X(g_variant_type_equal)                        \
    X(g_settings_new_full)                         \
    X(g_settings_get_double)                       \
    X(g_settings_get_int)                          \
    X(g_settings_set_double)                       \
    X(g_settings_set_int)                          \
    X(g_settings_sync)                             \
    X(g_object_unref)

struct Gio {
    KVR_GIO_FUNCTIONS(KVR_FUNCTION_FIELD)
};

// Null without GIO: the desktop then simply has no pointer settings.
const Gio* gio() {
    return openedLibrary<Gio>("libgio-2.0.so.0", [](const FunctionBinder& bind, Gio& f) {
        return true KVR_GIO_FUNCTIONS(KVR_BIND_FUNCTION);
    });
}

bool keyHasType(const Gio& g, GSettingsSchema* schema, const char* name,
                const GVariantType* type) {
    if (!g.g_settings_schema_has_key(schema, name)) return false;
    GSettingsSchemaKey* key = g.g_settings_schema_get_key(schema, name);
    const bool same = g.g_variant_type_equal(g.g_settings_schema_key_get_value_type(key), type);
    g.g_settings_schema_key_unref(key);
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
        if (settings) gio()->g_object_unref(settings);
    }
};

GSettingsPointerStore::GSettingsPointerStore(std::string schemaFolder)
    : schemaFolder_(std::move(schemaFolder)) {}

GSettingsPointerStore::Settings& GSettingsPointerStore::opened() {
    if (settings_) return *settings_;
    settings_ = std::make_unique<Settings>();
    const Gio* g = gio();
    if (!g) return *settings_;
    GSettingsSchemaSource* source = nullptr;
    if (schemaFolder_.empty()) {
        source = g->g_settings_schema_source_get_default();
        if (source) g->g_settings_schema_source_ref(source);
    } else {
        source = g->g_settings_schema_source_new_from_directory(schemaFolder_.c_str(), nullptr,
                                                                FALSE, nullptr);
    }
    if (!source) return *settings_;
    // Looked up first: creating settings for a schema that is not installed ends the program.
    GSettingsSchema* schema =
        g->g_settings_schema_source_lookup(source, std::string(kSchemaId).c_str(), TRUE);
    g->g_settings_schema_source_unref(source);
    if (!schema) return *settings_;
    settings_->hasSpeed = keyHasType(*g, schema, kSpeedKey, G_VARIANT_TYPE_DOUBLE);
    settings_->hasDoubleClick = keyHasType(*g, schema, kDoubleClickKey, G_VARIANT_TYPE_INT32);
    settings_->settings = g->g_settings_new_full(schema, nullptr, nullptr);
    g->g_settings_schema_unref(schema);
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
        const double speed = gio()->g_settings_get_double(settings, kSpeedKey);
        const int shown = speedFromDesktop(speed);
        opened.lastSpeedRead = std::pair{shown, speed};
        return shown;
    }
    if (value == PointerValue::DoubleClickSpeed && opened.hasDoubleClick) {
        return gio()->g_settings_get_int(settings, kDoubleClickKey);
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
        written = gio()->g_settings_set_double(settings, kSpeedKey, speedToDesktop(number));
        if (written) opened.lastSpeedRead.reset();
    } else if (value == PointerValue::DoubleClickSpeed && opened.hasDoubleClick) {
        written = gio()->g_settings_set_int(settings, kDoubleClickKey, number);
    } else {
        return false;
    }
    // Hands the change to the desktop now rather than whenever the program's main loop runs.
    gio()->g_settings_sync();
    return written;
}

std::unique_ptr<PointerSettingsStore> makeDesktopPointerStore() {
    return std::make_unique<GSettingsPointerStore>();
}

}  // namespace kvr

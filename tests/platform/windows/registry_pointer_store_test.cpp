// The pointer settings store against the registry and the system settings of the Wine prefix
// (or the Windows session) the test runs in. Every value touched is put back at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/desktop_pointer_store.h"

namespace kvr {
namespace {

// Where Windows keeps each value: the key under HKEY_CURRENT_USER and the value's name, spelled
// here on their own so that a store writing another name is caught.
struct Place {
    PointerValue value;
    const wchar_t* key;
    const wchar_t* name;
};
const Place kPlaces[] = {
    {PointerValue::MouseSensitivity, L"Control Panel\\Mouse", L"MouseSensitivity"},
    {PointerValue::MouseThreshold1, L"Control Panel\\Mouse", L"MouseThreshold1"},
    {PointerValue::MouseThreshold2, L"Control Panel\\Mouse", L"MouseThreshold2"},
    {PointerValue::MouseSpeed, L"Control Panel\\Mouse", L"MouseSpeed"},
    {PointerValue::DoubleClickSpeed, L"Control Panel\\Mouse", L"DoubleClickSpeed"},
    {PointerValue::WheelScrollLines, L"Control Panel\\Desktop", L"WheelScrollLines"},
};

// A registry value as stored: its type and bytes, or none.
struct Stored {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

Stored readStored(const Place& place) {
    Stored out;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, place.key, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return out;
    DWORD size = 0;
    if (RegQueryValueExW(key, place.name, nullptr, &out.type, nullptr, &size) == ERROR_SUCCESS) {
        out.bytes.resize(size);
        out.present = RegQueryValueExW(key, place.name, nullptr, &out.type, out.bytes.data(),
                                       &size) == ERROR_SUCCESS;
        out.bytes.resize(size);
    }
    RegCloseKey(key);
    return out;
}

void writeStored(const Place& place, const Stored& stored) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, place.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    if (stored.present)
        RegSetValueExW(key, place.name, 0, stored.type, stored.bytes.data(),
                       static_cast<DWORD>(stored.bytes.size()));
    else
        RegDeleteValueW(key, place.name);
    RegCloseKey(key);
}

std::wstring text(const Stored& stored) {
    std::wstring out(reinterpret_cast<const wchar_t*>(stored.bytes.data()),
                     stored.bytes.size() / sizeof(wchar_t));
    while (!out.empty() && out.back() == L'\0') out.pop_back();
    return out;
}

class RegistryPointerStoreTest : public testing::Test {
protected:
    void SetUp() override {
        for (const Place& place : kPlaces) saved_.push_back(readStored(place));
        SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed_, 0);
        SystemParametersInfoW(SPI_GETMOUSE, 0, acceleration_, 0);
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines_, 0);
        doubleClick_ = GetDoubleClickTime();
    }
    void TearDown() override {
        for (std::size_t i = 0; i < saved_.size(); ++i) writeStored(kPlaces[i], saved_[i]);
        SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                              reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed_)), 0);
        SystemParametersInfoW(SPI_SETMOUSE, 0, acceleration_, 0);
        SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines_, nullptr, 0);
        SetDoubleClickTime(doubleClick_);
    }

    std::unique_ptr<PointerSettingsStore> store = makeDesktopPointerStore();

private:
    std::vector<Stored> saved_;
    int speed_ = 10;
    int acceleration_[3] = {6, 10, 1};
    UINT lines_ = 3;
    UINT doubleClick_ = 500;
};

TEST_F(RegistryPointerStoreTest, WritesEachValueAsTextUnderItsOwnNameAndReadsItBack) {
    int number = 7;
    for (const Place& place : kPlaces) {
        ++number;
        ASSERT_TRUE(store->write(place.value, number)) << pointerValueName(place.value);
        const Stored stored = readStored(place);
        ASSERT_TRUE(stored.present) << pointerValueName(place.value) << " is not where Windows looks";
        EXPECT_EQ(stored.type, DWORD(REG_SZ)) << pointerValueName(place.value);
        EXPECT_EQ(text(stored), std::to_wstring(number)) << pointerValueName(place.value);
        EXPECT_EQ(store->read(place.value), number) << pointerValueName(place.value);
    }
}

TEST_F(RegistryPointerStoreTest, AMissingOrUnreadableValueIsNoneAndIsLeftAsItIs) {
    const Place& place = kPlaces[0];
    writeStored(place, Stored{});
    EXPECT_EQ(store->read(place.value), std::nullopt);
    EXPECT_FALSE(readStored(place).present) << "reading made the value";

    // A number of another type than text, and a text that is no number, count as no value.
    const DWORD number = 12;
    Stored dword{true, REG_DWORD, std::vector<BYTE>(sizeof number)};
    std::memcpy(dword.bytes.data(), &number, sizeof number);
    writeStored(place, dword);
    EXPECT_EQ(store->read(place.value), std::nullopt);
    const std::wstring words = L"fast";
    Stored notANumber{true, REG_SZ,
                      std::vector<BYTE>(reinterpret_cast<const BYTE*>(words.c_str()),
                                        reinterpret_cast<const BYTE*>(words.c_str() + words.size() + 1))};
    writeStored(place, notANumber);
    EXPECT_EQ(store->read(place.value), std::nullopt);
    EXPECT_EQ(text(readStored(place)), L"fast");
}

TEST_F(RegistryPointerStoreTest, TheRunningDesktopTakesEachSettingAtOnce) {
    store->applyPointerSpeed(17);
    int speed = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0));
    EXPECT_EQ(speed, 17);

    store->applyAcceleration({4, 9, 2});
    int acceleration[3] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, acceleration, 0));
    EXPECT_EQ(acceleration[0], 4);
    EXPECT_EQ(acceleration[1], 9);
    EXPECT_EQ(acceleration[2], 2);

    store->applyDoubleClickTime(640);
    EXPECT_EQ(GetDoubleClickTime(), 640U);

    store->applyScrollLines(9);
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 9U);
}

}  // namespace
}  // namespace kvr

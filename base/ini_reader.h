#pragma once
// Reader of the built-in INI tables: sections of "key=value" lines, held in memory.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvr {

// Lines are trimmed of blanks and control characters. Empty lines and lines that begin with
// ";" are comments, "[name]" opens a section, and a line with "=" is a key and its value
// (both trimmed); any other line is ignored. Section and key names ignore letter case, and the
// first line with a key wins. Lines before the first section are ignored.
class IniReader {
public:
    IniReader() = default;

    // An 8-bit text whose lines end in CR LF, LF or CR; comments may hold any bytes.
    static IniReader fromText(std::span<const unsigned char> text);
    static IniReader fromLines(std::span<const std::string> lines);

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
    // The value, or empty text when the key is absent.
    std::string text(std::string_view section, std::string_view key) const;
    // The value as a decimal integer; empty when the key is absent or its value is not one.
    std::optional<int> integer(std::string_view section, std::string_view key) const;
    // The keys of a section in the order of their first lines, as written.
    std::vector<std::string> keys(std::string_view section) const;
    // Each key of a section, in lower case, with its value.
    std::vector<std::pair<std::string_view, std::string_view>> entries(
        std::string_view section) const;

private:
    struct Section {
        std::map<std::string, std::string, std::less<>> values;  // by lower-case key
        std::vector<std::string> order;
    };
    void addLine(std::string_view line, Section*& current);

    std::map<std::string, Section, std::less<>> sections_;  // by lower-case name
};

// A decimal integer with an optional sign, possibly surrounded by blanks; empty for anything
// else, including a number that does not fit.
std::optional<int> parseInteger(std::string_view text);

// A colour of the tables: red in the low byte, then green, then blue.
struct Colour {
    std::uint32_t value = 0;

    int red() const { return int(value & 0xFF); }
    int green() const { return int((value >> 8) & 0xFF); }
    int blue() const { return int((value >> 16) & 0xFF); }
    friend bool operator==(Colour, Colour) = default;
};

// R + G x 256 + B x 65536. Components are not range-checked: the table's numbers are used as
// they are, as the platform's colour value would be.
Colour colourOf(int red, int green, int blue);

}  // namespace kvr

// The mouse's 512-byte macro area as it is read from the mouse or taken from a file: parsed,
// damaged records reset and packed again, then edited the way the macro page edits it.
#include <algorithm>
#include <array>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "macros/device_macro_table.h"
#include "macros/macro_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    std::array<std::uint8_t, kDeviceMacroAreaSize> area{};
    std::copy_n(data, std::min(size, area.size()), area.begin());
    (void)macroAreaRefusal(area);

    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);
    if (table.totalSize() > int(kDeviceMacroAreaSize)) fuzz::broken("the records pass the area");
    for (std::size_t i = 0; i < table.count(); ++i) {
        const auto address = table.address(i);
        if (!address) fuzz::broken("a listed macro has no address");
        (void)table.nameAt(*address);
        (void)table.lastIndexOf(table.name(i));
    }
    // Once refreshed, the area reads back as the same table.
    DeviceMacroTable again;
    again.parse(area);
    if (again.count() != table.count()) fuzz::broken("a refreshed area reads back differently");

    const MacroContent content = emptyMacroContent();
    (void)table.add(MacroNameStrToUnicode("fuzz"), content, area);
    if (table.count() > 0) (void)table.remove(0, area);
    return 0;
}

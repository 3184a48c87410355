#pragma once
// Profile files: the mouse's settings on disk as the device images one after another, with no
// header: the parameter block (45 bytes on a variant 1 mouse, 38 on variant 2), the profile block
// (28 bytes) and, for a mouse with macro memory, the 512-byte macro area. So 73 or 585 bytes on
// variant 1, 66 or 578 on variant 2; the built-in default image has the same form. The macro
// export file is the macro area alone (empty for a mouse without macro memory).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "base/file_io.h"
#include "base/file_refusal.h"
#include "cycle/read_write_cycle.h"

namespace kvr {

// The file the user chose in a save dialog, with ".bin" appended unless it already ends in it.
std::filesystem::path withBinExtension(const std::filesystem::path& chosen);

// What a profile load came to: the file read, then taken whole or refused with the reason.
struct ProfileLoad {
    FileResult read;
    Refusal refusal;

    explicit operator bool() const { return read && !refusal; }
};

class ProfileFiles {
public:
    // `cycle` must outlive this. `refreshDeviceMacros` parses the macro area into the device
    // macro list (ReadAndRefreshMacro2) after a load.
    ProfileFiles(ReadWriteCycle& cycle, std::function<void()> refreshDeviceMacros);

    // DataBufToMemo_OnClick: the pages' settings into DataBuf and the device images, checksums
    // set, without writing to the mouse.
    void DataBufToMemo_OnClick();
    // The images as a profile file holds them for the open mouse; empty without one.
    std::vector<std::uint8_t> profileBytes() const;

    // Btn_Save_0Click once a file was chosen: the pages' settings into the images, then the file
    // written whole. Fails without an open mouse.
    FileResult save(const std::filesystem::path& file);
    // Btn_Load_0Click once a file was chosen: a file that passes profileFileRefusal for the open
    // mouse replaces the images whole; then the pages show it (MemoToDataBuf_OnClick) and the
    // next write also writes the macro area. A file that cannot be read or is refused changes
    // nothing. Fails without an open mouse.
    ProfileLoad load(const std::filesystem::path& file);
    // MemoToDataBuf_OnClick: the images onto the pages; MacroDirty set.
    void MemoToDataBuf_OnClick();
    // Btn_DevExportClick: the macro area, or an empty file without macro memory. Needs no mouse.
    FileResult exportDeviceMacros(const std::filesystem::path& file);

private:
    ReadWriteCycle& cycle_;
    std::function<void()> refreshDeviceMacros_;
};

}  // namespace kvr

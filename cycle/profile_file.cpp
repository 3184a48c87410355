#include "cycle/profile_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "cycle/file_checks.h"
#include "params/param_layout.h"

namespace kvr {

namespace {

constexpr std::string_view kBinExtension = ".bin";

FileResult noMouse() { return FileResult{false, std::strerror(ENODEV)}; }

// Copies as much of `to` as `bytes` holds from `offset` on.
void copyFrom(std::span<const std::uint8_t> bytes, std::size_t offset, std::span<std::uint8_t> to) {
    if (offset >= bytes.size()) return;
    const std::size_t n = std::min(to.size(), bytes.size() - offset);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, to.begin());
}

}  // namespace

std::filesystem::path withBinExtension(const std::filesystem::path& chosen) {
    if (chosen.string().ends_with(kBinExtension)) return chosen;
    std::filesystem::path file = chosen;
    file += kBinExtension;
    return file;
}

ProfileFiles::ProfileFiles(ReadWriteCycle& cycle, std::function<void()> refreshDeviceMacros)
    : cycle_(cycle), refreshDeviceMacros_(std::move(refreshDeviceMacros)) {}

void ProfileFiles::DataBufToMemo_OnClick() {
    const int variant = cycle_.deviceVariant();
    const ParamLayout* layout = paramLayout(variant);
    if (!layout) return;
    DataBuf& data = cycle_.dataBuf();
    const PageModels pages = cycle_.pageModels();
    UIToDataBuf(pages, variant, data);
    SetParameterChecksum(data, *layout);
    FireKeyAndFireKeyModeToDataBuf(pages.buttons, data);
    SetProfileChecksum(data);
    copyDataBufToImages(data, variant, cycle_.images());
}

std::vector<std::uint8_t> ProfileFiles::profileBytes() const {
    const ParamLayout* layout = paramLayout(cycle_.deviceVariant());
    if (!layout) return {};
    const DeviceImages& images = cycle_.images();
    std::vector<std::uint8_t> bytes;
    const auto param = images.param(*layout);
    bytes.insert(bytes.end(), param.begin(), param.end());
    const auto profile = images.profile.used();
    bytes.insert(bytes.end(), profile.begin(), profile.end());
    if (cycle_.macroSupport()) {
        bytes.insert(bytes.end(), images.macroArea.bytes.begin(), images.macroArea.bytes.end());
    }
    return bytes;
}

FileResult ProfileFiles::save(const std::filesystem::path& file) {
    if (!paramLayout(cycle_.deviceVariant())) return noMouse();
    DataBufToMemo_OnClick();
    return writeFileAtomically(file, profileBytes());
}

ProfileLoad ProfileFiles::load(const std::filesystem::path& file) {
    const ParamLayout* layout = paramLayout(cycle_.deviceVariant());
    if (!layout) return {noMouse(), {}};
    const std::size_t macroOffset = layout->blockSize + profile_block::kSize;
    // One byte more than the largest profile tells a long file from a whole one.
    FileBytes read = readFileStart(file, macroOffset + kMacroAreaSize + 1);
    if (!read.result) return {read.result, {}};
    if (auto refusal = profileFileRefusal(read.bytes, MouseKind::of(cycle_)))
        return {read.result, refusal};

    DeviceImages& images = cycle_.images();
    copyFrom(read.bytes, 0, images.param(*layout));
    copyFrom(read.bytes, layout->blockSize, images.profile.used());
    if (cycle_.macroSupport()) copyFrom(read.bytes, macroOffset, images.macroArea.bytes);
    MemoToDataBuf_OnClick();
    return {read.result, {}};
}

void ProfileFiles::MemoToDataBuf_OnClick() {
    if (cycle_.macroSupport() && refreshDeviceMacros_) refreshDeviceMacros_();
    cycle_.refreshPagesFromImages();
    cycle_.setMacroDirty(true);
}

FileResult ProfileFiles::exportDeviceMacros(const std::filesystem::path& file) {
    if (!cycle_.macroSupport()) return writeFileAtomically(file, {});
    return writeFileAtomically(file, cycle_.images().macroArea.bytes);
}

}  // namespace kvr

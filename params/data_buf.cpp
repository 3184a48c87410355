#include "params/data_buf.h"

#include <algorithm>
#include <span>

#include "params/checksum.h"

namespace kvr {

namespace {

constexpr std::uint8_t kRepairedPairValue = 1;

std::span<std::uint8_t> paramSection(DataBuf& data, const ParamLayout& layout) {
    return std::span(data).subspan(layout.dataBufStart, layout.checksum + 1);
}

std::span<std::uint8_t> profileSection(DataBuf& data) {
    return std::span(data).subspan(databuf::kProfileStart, databuf::kProfileLength);
}

bool checksumFails(std::span<const std::uint8_t> run) {
    return blockChecksum(run.first(run.size() - 1)) != run.back();
}

bool repairParamSection(DataBuf& data, const ParamLayout& layout) {
    const auto section = paramSection(data, layout);
    if (!checksumFails(section)) return false;
    std::ranges::copy(layout.repairTemplate, section.begin());
    setChecksum(section, layout.checksum);
    return true;
}

bool repairPair(DataBuf& data, std::size_t value) {
    if (data[value] + data[value + 1] == param_tail::kPairSum) return false;
    data[value] = kRepairedPairValue;
    data[value + 1] = param_tail::kPairSum - kRepairedPairValue;
    return true;
}

bool isButton(int button) { return button >= 1 && button <= static_cast<int>(kButtonCount); }

std::size_t codeIndex(int button) {
    return databuf::kProfileStart + static_cast<std::size_t>(button - 1) * profile_block::kCodeSize;
}

}  // namespace

bool CheckParameterASection(DataBuf& data) { return repairParamSection(data, kParamLayoutV1); }

bool CheckParameterCSection(DataBuf& data) { return repairParamSection(data, kParamLayoutV2); }

bool CheckParameterBSection(DataBuf& data) {
    const bool level = repairPair(data, databuf::kCurrentDpiLevel);
    const bool light = repairPair(data, databuf::kLedMode);
    return level || light;
}

bool CheckProfileSection(DataBuf& data) {
    const auto section = profileSection(data);
    if (!checksumFails(section)) return false;
    std::ranges::fill(section, 0xFF);
    std::ranges::copy(kProfileTemplate, section.begin());
    setChecksum(section, profile_block::kChecksum);
    return true;
}

bool checkParameterSection(DataBuf& data, const ParamLayout& layout) {
    return repairParamSection(data, layout);
}

void SetParameterChecksum(DataBuf& data, const ParamLayout& layout) {
    setChecksum(paramSection(data, layout), layout.checksum);
}

void SetProfileChecksum(DataBuf& data) {
    setChecksum(profileSection(data), profile_block::kChecksum);
}

ButtonCode buttonCodeAt(const DataBuf& data, int button) {
    if (!isButton(button)) return {};
    const std::size_t i = codeIndex(button);
    return ButtonCode{data[i], data[i + 1], data[i + 2]};
}

void setButtonCode(DataBuf& data, int button, ButtonCode code) {
    if (!isButton(button)) return;
    const std::size_t i = codeIndex(button);
    data[i] = code.codeClass;
    data[i + 1] = code.data1;
    data[i + 2] = code.data2;
}

ButtonCodeTexts buildButtonCodeTexts(const DataBuf& data) {
    ButtonCodeTexts texts;
    for (std::size_t k = 0; k < kButtonCount; ++k) {
        texts[k] = codeText(buttonCodeAt(data, static_cast<int>(k) + 1));
    }
    return texts;
}

}  // namespace kvr

#include "macros/macro_editor.h"

#include <algorithm>

namespace kvr {

namespace {

constexpr std::size_t kCodeSuffix = 10;  // " CODE:" and four hex digits
constexpr std::size_t kDirection = 2;    // "1 "

}  // namespace

std::string_view MacroEditor::eventName(std::string_view line) {
    if (line.size() < kDirection + kCodeSuffix) return {};
    return line.substr(kDirection, line.size() - kDirection - kCodeSuffix);
}

std::string MacroEditor::rowText(std::string_view line) {
    if (line.empty()) return {};
    if (line[0] == '0')
        return std::string(line.substr(std::min<std::size_t>(2, line.size()))) + " ms";
    return std::string(eventName(line));
}

int MacroEditor::rowIcon(std::string_view line) {
    if (line.empty()) return 0;
    return line[0] == '1' ? 1 : line[0] == '2' ? 2 : 0;
}

void MacroEditor::show(MacroLines lines) {
    lines_ = std::move(lines);
    selected_ = rowCount() - 1;
    top_ = 0;
}

void MacroEditor::clear() {
    lines_.clear();
    selected_ = -1;
    top_ = 0;
}

void MacroEditor::appendLine(MacroLine line) {
    lines_.push_back(std::move(line));
    selected_ = rowCount() - 1;
}

void MacroEditor::insertLine(std::size_t lineIndex, MacroLine line) {
    lineIndex = std::clamp<std::size_t>(lineIndex, 1, lines_.size());
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lineIndex), std::move(line));
}

void MacroEditor::select(int row) { selected_ = (row >= 0 && row < rowCount()) ? row : -1; }

bool MacroEditor::deleteSelected() {
    const int r = selected_;
    if (r < 0 || r >= rowCount()) return false;
    const std::size_t line = static_cast<std::size_t>(r) + 1;
    const char kind = lines_[line].empty() ? '0' : lines_[line][0];
    const std::string_view name = eventName(lines_[line]);
    const char partnerKind = kind == '1' ? '2' : '1';
    auto isPartner = [&](std::size_t i) {
        return !lines_[i].empty() && lines_[i][0] == partnerKind && eventName(lines_[i]) == name;
    };

    std::size_t partner = 0;  // 0: none (line 0 is the header, never a partner)
    if (kind == '1') {
        for (std::size_t i = line + 1; i < lines_.size() && partner == 0; ++i)
            if (isPartner(i)) partner = i;
    } else if (kind == '2') {
        for (std::size_t i = line - 1; i >= 1 && partner == 0; --i)
            if (isPartner(i)) partner = i;
    }

    // Erase the later line first so the earlier index stays valid.
    const std::size_t first = partner != 0 ? std::min(line, partner) : line;
    const std::size_t second = partner != 0 ? std::max(line, partner) : 0;
    if (second != 0) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(second));
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first));

    // A release that took its press along moves the selection up by two rows.
    int next = (kind == '2' && partner != 0) ? (r > 1 ? r - 2 : 0) : (r > 0 ? r - 1 : 0);
    next = std::min(next, rowCount() - 1);
    selected_ = rowCount() > 0 ? next : -1;
    return true;
}

bool MacroEditor::openInsertPanel() {
    if (selected_ < 0) return false;
    rememberedTop_ = top_;
    rememberedSelected_ = selected_;
    panelOpen_ = true;
    choice_ = InsertChoice::DelayFront;
    return true;
}

MacroEditor::InsertResult MacroEditor::insertDelay(int milliseconds) {
    const int r = selected_;
    if (r < 0 || r >= rowCount()) return InsertResult::NoRow;
    const int d = std::clamp(milliseconds, kMinEditDelayMs, kMaxEditDelayMs);
    if (macroLinesByteCost(lines_) + delayByteCost(d) > kMacroEventByteLimit)
        return InsertResult::TooLong;
    const bool front = choice_ == InsertChoice::DelayFront;
    insertLine(static_cast<std::size_t>(r) + (front ? 1 : 2), delayEventLine(d));
    selected_ = front ? r : r + 1;
    return InsertResult::Inserted;
}

void MacroEditor::cancelInsert(MacroLines decoded) {
    panelOpen_ = false;
    lines_ = std::move(decoded);
    top_ = std::clamp(rememberedTop_, 0, std::max(rowCount() - 1, 0));
    select(rememberedSelected_);
}

}  // namespace kvr

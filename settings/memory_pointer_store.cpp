#include "settings/memory_pointer_store.h"

#include <algorithm>

namespace kvr {

namespace {

std::string valueCall(std::string_view verb, PointerValue value) {
    return std::string(verb) + " " + std::string(pointerValueName(value));
}

}  // namespace

std::optional<int> MemoryPointerStore::read(PointerValue value) {
    calls.push_back(valueCall("read", value));
    const auto found = values.find(value);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

bool MemoryPointerStore::write(PointerValue value, int number) {
    calls.push_back(valueCall("write", value) + " " + std::to_string(number));
    if (std::ranges::find(withoutPlace, value) != withoutPlace.end()) return false;
    values[value] = number;
    return true;
}

void MemoryPointerStore::applyPointerSpeed(int speed) {
    calls.push_back("applyPointerSpeed " + std::to_string(speed));
}

void MemoryPointerStore::applyAcceleration(const PointerAcceleration& acceleration) {
    std::string call = "applyAcceleration";
    for (int n : acceleration) call += " " + std::to_string(n);
    calls.push_back(call);
}

void MemoryPointerStore::applyDoubleClickTime(int milliseconds) {
    calls.push_back("applyDoubleClickTime " + std::to_string(milliseconds));
}

void MemoryPointerStore::applyScrollLines(int lines) {
    calls.push_back("applyScrollLines " + std::to_string(lines));
}

std::vector<std::string> MemoryPointerStore::changes() const {
    std::vector<std::string> result;
    for (const std::string& call : calls) {
        if (!call.starts_with("read ")) result.push_back(call);
    }
    return result;
}

}  // namespace kvr

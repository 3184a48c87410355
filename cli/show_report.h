#pragma once
// What `show` prints: every setting read from the mouse, as one JSON document or as text made
// from the same document.
#include <nlohmann/json.hpp>
#include <string>

namespace kvr {

class MouseSession;

nlohmann::ordered_json showDocument(MouseSession& session);
std::string showText(const nlohmann::ordered_json& document);

}  // namespace kvr

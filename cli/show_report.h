#pragma once
// What `show` prints: every setting read from the mouse, as one JSON document or as text made
// from the same document.
#include <nlohmann/json.hpp>
#include <string>

namespace kvr {

class MouseSession;
class PCMacroLibrary;

nlohmann::ordered_json showDocument(MouseSession& session);
// The mouse's macros: name, address, record size and decoded event lines of each.
nlohmann::ordered_json deviceMacroList(MouseSession& session);
// The library's entries: name and decoded event lines of each.
nlohmann::ordered_json libraryMacroList(const PCMacroLibrary& library);
// The macro list as text lines, indented by `indent`.
std::string macroListText(const nlohmann::ordered_json& macros, const std::string& indent);
std::string showText(const nlohmann::ordered_json& document);

}  // namespace kvr

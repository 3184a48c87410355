#pragma once
// Why a file the user chose cannot be used, as a reason the language tables word: the reason's key
// ("Str121") and the value its text names at "%1", if any. The command line and the window say it
// in one sentence that names the file.
#include <optional>
#include <string>

#include "base/text_lookup.h"

namespace kvr {

struct FileRefusal {
    std::string reason;  // a key of the language tables
    std::string value;   // put in at "%1" of the reason's text

    friend bool operator==(const FileRefusal&, const FileRefusal&) = default;
};

using Refusal = std::optional<FileRefusal>;

// "FILE is refused: REASON. Nothing was changed." in the language `text` looks up.
std::string refusalMessage(const std::string& file, const FileRefusal& refusal,
                           const TextLookup& text);

}  // namespace kvr

#pragma once
// The skin's pictures and the busy animation, built into the window only: the command line and
// the core carry none of them.
#include <optional>
#include <span>
#include <string_view>

#include "base/resources.h"
#include "gui/images/png_image.h"

namespace kvr {

// Terminated by an entry whose name is null; generated at build time.
extern const EmbeddedResource kEmbeddedPictures[];

// Finds a built-in picture by name, ignoring letter case ("l1_background" finds "L1_BackGround").
inline std::optional<std::span<const unsigned char>> findPicture(std::string_view name) {
    return findResourceIn(kEmbeddedPictures, name);
}

// The size a built-in PNG picture's header states, as the build read it: the picture's own bytes
// stay untouched. Empty for a picture that is missing, or whose header is damaged.
inline std::optional<PngSize> findPictureSize(std::string_view name) {
    const EmbeddedResource* entry = findEntryIn(kEmbeddedPictures, name);
    return entry ? pngSizeOf(entry->width, entry->height) : std::nullopt;
}

}  // namespace kvr

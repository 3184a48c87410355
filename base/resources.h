#pragma once
// Resources built into the program: language and layout tables, the default memory image and
// macro library. The window's pictures are a table of their own on the window's floor.
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace kvr {

struct EmbeddedResource {
    const char* name;
    const unsigned char* data;
    std::size_t size;
    // A PNG picture's width and height as its header states them, read by the build, so that
    // laying out a page never touches the picture's bytes; 0 for every other file.
    unsigned width = 0;
    unsigned height = 0;
};

// Terminated by an entry whose name is null; generated at build time.
extern const EmbeddedResource kEmbeddedResources[];

// Finds a built-in resource by name, ignoring letter case ("org1" finds "ORG1").
std::optional<std::span<const unsigned char>> findResource(std::string_view name);

// The same search in another generated table.
std::optional<std::span<const unsigned char>> findResourceIn(const EmbeddedResource* table,
                                                             std::string_view name);
const EmbeddedResource* findEntryIn(const EmbeddedResource* table, std::string_view name);

}  // namespace kvr

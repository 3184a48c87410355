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
};

// Terminated by an entry whose name is null; generated at build time.
extern const EmbeddedResource kEmbeddedResources[];

// Finds a built-in resource by name, ignoring letter case ("org1" finds "ORG1").
std::optional<std::span<const unsigned char>> findResource(std::string_view name);

// The same search in another generated table.
std::optional<std::span<const unsigned char>> findResourceIn(const EmbeddedResource* table,
                                                             std::string_view name);

}  // namespace kvr

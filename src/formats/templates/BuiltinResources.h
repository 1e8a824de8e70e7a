#pragma once
// The binary records compiled into the program from resources/: the definition templates and the
// placeholder cube model. Looked up by name, letter case ignored ("Cube1" finds cube1.4ds).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace mw {

struct BuiltinResource {
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

const std::vector<BuiltinResource>& builtinResources();

// A fresh copy of the named resource's bytes; empty when there is none of that name.
std::vector<std::uint8_t> loadBuiltinResource(std::string_view name);

} // namespace mw

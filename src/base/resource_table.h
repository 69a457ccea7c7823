#pragma once
// The built-in resources as the build lays them out (see cmake/EmbedResources.cmake).
#include <cstddef>

namespace tessaly {

struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace tessaly

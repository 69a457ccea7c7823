#include "base/resource_store.h"

#include "base/resource_table.h"

#include <algorithm>
#include <cctype>

namespace tessaly {
namespace {
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::optional<std::span<const std::uint8_t>> findResource(std::string_view type, std::string_view name) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (equalsIgnoringCase(r.type, type) && equalsIgnoringCase(r.name, name))
            return std::span<const std::uint8_t>(r.begin, static_cast<std::size_t>(r.end - r.begin));
    }
    return std::nullopt;
}

std::string resourceText(std::string_view type, std::string_view name) {
    auto bytes = findResource(type, name);
    if (!bytes) return {};
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

}  // namespace tessaly

#pragma once
// Look-up of the resources built into the executable: prefix and callsign lists
// (type "CUSTOM", names "227" and "327"), spoken clips and noise recordings ("WAVE").
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

// Type and name match without regard to case ("zaoyin" finds "ZAOYIN").
std::optional<std::span<const std::uint8_t>> findResource(std::string_view type, std::string_view name);

// The resource's bytes as text, byte for byte (the lists are ASCII); empty if missing.
std::string resourceText(std::string_view type, std::string_view name);

}  // namespace tessaly

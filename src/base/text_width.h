#pragma once
// How many columns of a terminal a UTF-8 text takes: Chinese characters and
// full-width signs take two, combining marks none (libunistring's tables).
#include <cstddef>
#include <string_view>

namespace tessaly {

std::size_t terminalWidth(std::string_view utf8);

}  // namespace tessaly

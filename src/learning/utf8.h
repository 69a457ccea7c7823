#pragma once
// Answers are UTF-8 text typed by a person: they are compared and counted by
// character, not by byte, so that "Ä" is one wrong character and not two.
#include <cstddef>
#include <string_view>
#include <vector>

namespace tessaly {

// The characters of a text, one view per code point. A byte that does not start
// a valid UTF-8 sequence is a character of its own, so no byte is ever lost.
std::vector<std::string_view> utf8Characters(std::string_view text);

// Offset of the first byte that is not part of a valid UTF-8 sequence (overlong
// forms and surrogates are not valid), or npos when the whole text is valid.
std::size_t invalidUtf8At(std::string_view text);

}  // namespace tessaly

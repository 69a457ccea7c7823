#pragma once
// UTF-8 as the text boxes take it, one code point per key.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// A byte that starts no valid sequence stands for one replacement character (U+FFFD).
std::u32string decodeUtf8(const std::string& text);
std::string encodeUtf8(char32_t codePoint);
// The text without its last code point (the Backspace key).
std::string withoutLastCharacter(const std::string& text);

// The characters of a text, one view per code point. A byte that does not start
// a valid UTF-8 sequence (overlong forms and surrogates are not valid) is a
// character of its own, so no byte is ever lost.
std::vector<std::string_view> utf8Characters(std::string_view text);

// Offset of the first byte that is not part of a valid UTF-8 sequence, or npos
// when the whole text is valid.
std::size_t invalidUtf8At(std::string_view text);

// The text as a terminal may show it: control characters (NUL, ESC, DEL, ...) and
// bytes of no valid sequence written as \xNN, tab, CR and LF as \t \r \n, a
// backslash left as it is. Valid UTF-8 stays as it is.
std::string printable(std::string_view text);

}  // namespace tessaly

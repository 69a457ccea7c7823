#pragma once
// UTF-8 as the text boxes take it, one code point per key.
#include <string>

namespace tessaly {

// A broken sequence stands for one replacement character (U+FFFD).
std::u32string decodeUtf8(const std::string& text);
std::string encodeUtf8(char32_t codePoint);
// The text without its last code point (the Backspace key).
std::string withoutLastCharacter(const std::string& text);

}  // namespace tessaly

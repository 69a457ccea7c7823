#include "base/utf8.h"

#include <unistr.h>

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace tessaly {

namespace {

// Length of the valid UTF-8 sequence starting at `at` (libunistring's reading:
// overlong forms and surrogates are no sequence), and its code point; 0 when there
// is none.
std::size_t sequenceLength(std::string_view text, std::size_t at, ucs4_t* codePoint = nullptr) {
    ucs4_t unused = 0;
    const int length = u8_mbtoucr(codePoint ? codePoint : &unused, reinterpret_cast<const std::uint8_t*>(text.data() + at),
                                  text.size() - at);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

}  // namespace

std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            out.push_back(0xFFFD);  // a broken sequence stands for one replacement character a byte
            ++i;
            continue;
        }
        ucs4_t cp = 0;
        sequenceLength(text, i, &cp);
        out.push_back(static_cast<char32_t>(cp));
        i += length;
    }
    return out;
}

std::string encodeUtf8(char32_t cp) {
    std::uint8_t bytes[6];
    const int length = u8_uctomb(bytes, static_cast<ucs4_t>(cp), sizeof bytes);
    if (length <= 0) return "\xEF\xBF\xBD";  // no code point: the replacement character
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

std::string withoutLastCharacter(const std::string& text) {
    std::u32string cps = decodeUtf8(text);
    if (!cps.empty()) cps.pop_back();
    std::string out;
    for (char32_t c : cps) out += encodeUtf8(c);
    return out;
}

std::vector<std::string_view> utf8Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        const std::size_t taken = length == 0 ? 1 : length;
        characters.push_back(text.substr(at, taken));
        at += taken;
    }
    return characters;
}

std::size_t invalidUtf8At(std::string_view text) {
    const std::uint8_t* start = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::uint8_t* bad = u8_check(start, text.size());
    return bad ? static_cast<std::size_t>(bad - start) : std::string_view::npos;
}

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const std::string_view c : utf8Characters(text)) {
        const auto byte = static_cast<unsigned char>(c.front());
        if (c.size() > 1 || (byte >= 0x20 && byte < 0x7F)) {
            out += c;
            continue;
        }
        switch (byte) {
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                out += hex;
            }
        }
    }
    return out;
}

}  // namespace tessaly

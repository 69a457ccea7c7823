// Times and numbers as the window shows and reads them: the elapsed-time clock's
// text, and the group-count box's number.
#include "practice/clock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tessaly {

std::string formattime(const std::string& second) {
    long long n = std::atoll(second.c_str());
    if (n < 0) n = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", n / 3600, (n / 60) % 60, n % 60);
    return text;
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One pass over the text, no recursion: its length cannot exhaust the stack.
bool isPlainDecimal(std::string_view s) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < s.size() && isDigit(s[at])) ++at;
        return at - from;
    };
    while (at < s.size() && isSpace(s[at])) ++at;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    std::size_t mantissa = digits();
    if (at < s.size() && s[at] == '.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        ++at;
        if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
        if (digits() == 0) return false;
    }
    while (at < s.size() && isSpace(s[at])) ++at;
    return at == s.size();
}

}  // namespace

std::optional<double> parseNumber(const std::string& text) {
    if (!isPlainDecimal(text)) return std::nullopt;
    // Too large for a double reads as an infinity of its sign; too small, as 0.
    const double value = std::strtod(text.c_str(), nullptr);
    if (std::isnan(value)) return std::nullopt;
    return value;
}

double roundHalfEven(double value) { return std::nearbyint(value); }  // default mode: to even

int groupsWanted(const std::string& text) {
    const auto number = parseNumber(text);
    if (!number) return 0;
    const double whole = roundHalfEven(*number);
    return whole < 1 ? 0 : whole > 32767 ? 32767 : static_cast<int>(whole);
}

}  // namespace tessaly

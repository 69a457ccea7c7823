// The elapsed-time clock and the group-count check.
#include "practice/clock.h"

#include "practice/practice_control.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>

namespace tessaly {

std::string formattime(const std::string& second) {
    long long n = std::atoll(second.c_str());
    if (n < 0) n = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", n / 3600, (n / 60) % 60, n % 60);
    return text;
}

std::optional<double> parseNumber(const std::string& text) {
    static const std::regex number(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)");
    if (!std::regex_match(text, number)) return std::nullopt;
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

double roundHalfEven(double value) { return std::nearbyint(value); }  // default mode: to even

void PracticeControl::Timer12_Timer() {
    ++f.elapsedSeconds;
    f.Label6.caption = formattime(std::to_string(f.elapsedSeconds));
}

void PracticeControl::Text2_Change() {
    const auto number = parseNumber(f.Text2.text());
    if (!number) {
        f.host().messageBox("错误", "练习组数必须为数字!");
        f.Text2.setText("10");
        return;
    }
    // A value too large for a 16-bit integer counts as above 500.
    const double whole = roundHalfEven(*number);
    if (whole <= 500) return;
    f.host().messageBox("错误", "练习组数不要大于500组!");
    f.Text2.setText("10");
}

}  // namespace tessaly

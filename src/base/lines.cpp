#include "base/lines.h"

namespace tessaly {

LineIndex::LineIndex(std::string_view text) {
    if (text.empty()) return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.push_back(text.substr(start));
            return;
        }
        lines_.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

std::string_view LineIndex::line(int linenum) const {
    if (linenum < 1 || linenum > count()) return {};
    return lines_[static_cast<std::size_t>(linenum - 1)];
}

std::string readline(std::string_view strtext, int linenum) { return std::string(LineIndex(strtext).line(linenum)); }

int linecount(std::string_view strtext) { return LineIndex(strtext).count(); }

}  // namespace tessaly

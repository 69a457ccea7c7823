#include "base/text_width.h"

#include <uniwidth.h>

namespace tessaly {

std::size_t terminalWidth(std::string_view utf8) {
    // Characters of ambiguous width (Greek, box drawing) count as narrow, as in a
    // terminal set to UTF-8; a control character counts as nothing.
    const int width = u8_width(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size(), "UTF-8");
    return width < 0 ? utf8.size() : static_cast<std::size_t>(width);
}

}  // namespace tessaly

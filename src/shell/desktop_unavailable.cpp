// Built when the window is left out (TESSALY_BUILD_GUI=OFF).
#include "shell/desktop.h"

#include <iostream>

namespace tessaly {
int runDesktop(int, char**, const DesktopOptions&) {
    std::cerr << "tessaly: this build has no window; use 'tessaly script' or 'tessaly render' (see --help)\n";
    return 2;
}
}  // namespace tessaly

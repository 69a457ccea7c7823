#pragma once
#include <string>

namespace tessaly {

struct DesktopOptions {
    std::string voicesPath;  // a voice pack in front of the built-in clips
};

// Opens the window and runs the event loop; returns the exit status.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

}  // namespace tessaly

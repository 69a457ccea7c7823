#pragma once
namespace tessaly {
// Opens the window and runs the event loop; returns the exit status.
int runDesktop(int argc, char** argv);
}

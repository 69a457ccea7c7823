// tessaly: the window, or one of the headless commands.
#include "headless/practice_render.h"
#include "headless/script_runner.h"
#include "shell/desktop.h"

#include <iostream>
#include <string>
#include <vector>

namespace {
const char* kHelp =
    "Tessaly: practise copying callsigns read aloud, as in a licence exam.\n"
    "\n"
    "usage:\n"
    "  tessaly                 open the practice window\n"
    "  tessaly script FILE     run a script of user actions without a window, in virtual\n"
    "                          time, printing what happens as JSON Lines\n"
    "                          (tessaly script --help for its options)\n"
    "  tessaly render ...      render a whole practice to a WAV file and its answer key\n"
    "                          (tessaly render --help for its options)\n"
    "  tessaly --help          this text\n";
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return tessaly::runDesktop(argc, argv);
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kHelp;
        return 0;
    }
    if (command == "--version") {
        std::cout << "tessaly 2.0\n";
        return 0;
    }
    if (command == "script") return tessaly::scriptCommand(args);
    if (command == "render") return tessaly::renderCommand(args);
    if (command.rfind("-", 0) == 0 && command.rfind("-platform", 0) != 0 && command.rfind("--style", 0) != 0) {
        std::cerr << "tessaly: unknown option " << command << "\n\n" << kHelp;
        return 2;
    }
    if (command.rfind("-", 0) == 0) return tessaly::runDesktop(argc, argv);  // Qt's own options
    std::cerr << "tessaly: unknown command " << command << "\n\n" << kHelp;
    return 2;
}

// tessaly: the window, or one of the headless commands.
#include "base/crash_report.h"
#include "base/xdg_places.h"
#include "headless/help_zh.h"
#include "headless/practice_render.h"
#include "headless/script_runner.h"
#include "headless/voices_command.h"
#include "shell/stats_command.h"
#include "shell/desktop.h"
#include "tessaly_version.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {
const char* help() { return tessaly::chineseLocale() ? tessaly::kProgramHelpZh : tessaly::kProgramHelp; }

// What a command printed has to reach its reader: a failed write to standard
// output (a full disk, a closed pipe with SIGPIPE ignored) fails the command.
int outputWritten(const std::string& command, int status) {
    errno = 0;
    std::cout.flush();
    if (std::cout || status != 0) return status;
    std::cerr << "tessaly" << (command.empty() ? "" : " " + command) << ": cannot write the output"
              << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
    return 1;
}

int runCommand(const std::string& command, std::vector<std::string>& args, int argc, char** argv) {
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << help();
        return 0;
    }
    if (command == "--version") {
        std::cout << "tessaly " TESSALY_VERSION "\n";
        return 0;
    }
    if (command == "script") return tessaly::scriptCommand(args);
    if (command == "render") return tessaly::renderCommand(args);
    if (command == "voices") return tessaly::voicesCommand(args);
    if (command == "stats") return tessaly::statsCommand(args);
    if (command == "--voices") {
        if (args.empty() || args.front().empty()) {
            std::cerr << "tessaly: --voices needs a folder (tessaly --voices DIR)\n";
            return 2;
        }
        // The rest goes to Qt, without the two words it does not know.
        std::vector<char*> rest{argv[0]};
        for (int i = 3; i < argc; ++i) rest.push_back(argv[i]);
        int restCount = static_cast<int>(rest.size());
        rest.push_back(nullptr);
        return tessaly::runDesktop(restCount, rest.data(), {.voicesPath = args.front()});
    }
    if (command.rfind("-", 0) == 0 && command.rfind("-platform", 0) != 0 && command.rfind("--style", 0) != 0) {
        std::cerr << "tessaly: unknown option " << command << "\n\n" << help();
        return 2;
    }
    if (command.rfind("-", 0) == 0) return tessaly::runDesktop(argc, argv, {});  // Qt's own options
    std::cerr << "tessaly: unknown command " << command << "\n\n" << help();
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string stateError;
    tessaly::installCrashReport(tessaly::stateFolder(stateError), TESSALY_VERSION);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return tessaly::runDesktop(argc, argv, {});
    const std::string command = args.front();
    args.erase(args.begin());
    return outputWritten(command.rfind('-', 0) == 0 ? "" : command, runCommand(command, args, argc, argv));
}

#pragma once
// The options of one command as a table: the parser, the checks of each value and
// the help text all come from it, so that they cannot drift apart.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct CommandOption {
    std::string name;       // "--seed"
    std::string valueName;  // "N"; empty for a flag
    std::string help;
    // Takes the value (a flag gets ""); returns an error message, or "" when fine.
    std::function<std::string(const std::string& value)> take;
};

// The common kinds of option: a flag, a text kept as it is (never empty), a seed.
CommandOption flagOption(std::string name, std::string help, bool& target);
CommandOption textOption(std::string name, std::string valueName, std::string help, std::string& target);
CommandOption seedOption(std::string help, std::optional<std::uint64_t>& target);

class CommandLine {
public:
    // command: "render"; synopsis: what follows "tessaly render" in the usage line;
    // purpose: one line on what the command does; positionals: lines on its arguments.
    CommandLine(std::string command, std::string synopsis, std::string purpose, std::vector<std::string> positionals,
                std::vector<CommandOption> options);

    // The whole help text: usage line, purpose, arguments and every option.
    std::string help() const;
    // Parses the arguments after the command's name: options by the table, the
    // rest into `positionals`. False with a one-line message on a mistake.
    bool parse(const std::vector<std::string>& args, std::vector<std::string>& positionals, std::string& error) const;

    // Runs a command the same way for every command: --help prints the help and
    // returns 0; a mistake in the arguments prints one line and a hint, and
    // returns 2; otherwise `run` gets the positionals and returns the status.
    int main(const std::vector<std::string>& args, const std::function<int(const std::vector<std::string>&)>& run) const;

    const std::string& command() const { return command_; }

private:
    std::string command_, synopsis_, purpose_;
    std::vector<std::string> positionals_;
    std::vector<CommandOption> options_;
};

// Value checks for option tables; each returns "" or an error message.
std::string takeWholeNumber(const std::string& option, const std::string& value, long long lo, long long hi,
                            long long& out);
std::string takeSeed(const std::string& option, const std::string& value, std::uint64_t& out);
std::string takeOneOf(const std::string& option, const std::string& value, const std::vector<std::string>& choices,
                      std::size_t& index);

// "1 callsign", "2 callsigns".
std::string plural(long long n, const std::string& one, const std::string& many);

}  // namespace tessaly

#include "headless/command_line.h"

#include "headless/help_zh.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace tessaly {

CommandOption flagOption(std::string name, std::string help, bool& target) {
    return {std::move(name), "", std::move(help), [&target](const std::string&) {
                target = true;
                return std::string();
            }};
}

CommandOption textOption(std::string name, std::string valueName, std::string help, std::string& target) {
    return {name, valueName, std::move(help), [&target, name, valueName](const std::string& v) {
                // An empty value is a slip (an unset variable in a script), never "none".
                if (v.empty()) return name + " needs " + valueName + ", not \"\"";
                target = v;
                return std::string();
            }};
}

CommandOption seedOption(std::string help, std::optional<std::uint64_t>& target) {
    return {"--seed", "N", std::move(help), [&target](const std::string& v) {
                std::uint64_t seed = 0;
                std::string error = takeSeed("--seed", v, seed);
                if (error.empty()) target = seed;
                return error;
            }};
}

CommandLine::CommandLine(std::string command, std::string synopsis, std::string purpose,
                         std::vector<std::string> positionals, std::vector<CommandOption> options)
    : command_(std::move(command)),
      synopsis_(std::move(synopsis)),
      purpose_(std::move(purpose)),
      positionals_(std::move(positionals)),
      options_(std::move(options)) {}

std::string CommandLine::help() const {
    const bool zh = chineseLocale();
    // A text with no Chinese yet shows in English.
    const auto either = [zh](std::string chinese, const std::string& english) { return zh && !chinese.empty() ? chinese : english; };
    std::string text = (zh ? "用法：tessaly " : "usage: tessaly ") + command_ + " " + synopsis_ + "\n" +
                       either(purposeZh(command_), purpose_) + "\n";
    for (std::size_t i = 0; i < positionals_.size(); ++i) text += "  " + either(argumentZh(command_, i), positionals_[i]) + "\n";
    std::string help = "--help";
    std::size_t width = help.size();
    for (const CommandOption& o : options_)
        width = std::max(width, o.name.size() + (o.valueName.empty() ? 0 : o.valueName.size() + 1));
    text += zh ? "选项：\n" : "options:\n";
    for (const CommandOption& o : options_) {
        std::string left = o.name + (o.valueName.empty() ? "" : " " + o.valueName);
        left.resize(width + 2, ' ');
        text += "  " + left + either(optionHelpZh(command_, o.name), o.help) + "\n";
    }
    help.resize(width + 2, ' ');
    text += "  " + help + (zh ? "本说明\n" : "this text\n");
    return text;
}

bool CommandLine::parse(const std::vector<std::string>& args, std::vector<std::string>& positionals,
                        std::string& error) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // "-" alone names standard input; anything else starting with "-" is an option.
        if (a.size() < 2 || a[0] != '-') {
            positionals.push_back(a);
            continue;
        }
        const auto o = std::find_if(options_.begin(), options_.end(), [&](const CommandOption& c) { return c.name == a; });
        if (o == options_.end()) {
            error = "unknown option " + a;
            return false;
        }
        std::string value;
        if (!o->valueName.empty()) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value (" + a + " " + o->valueName + ")";
                return false;
            }
            value = args[++i];
        }
        if (std::string problem = o->take(value); !problem.empty()) {
            error = problem;
            return false;
        }
    }
    return true;
}

int CommandLine::main(const std::vector<std::string>& args,
                      const std::function<int(const std::vector<std::string>&)>& run) const {
    if (std::find_if(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; }) !=
        args.end()) {
        std::cout << help();
        return 0;
    }
    std::vector<std::string> positionals;
    std::string error;
    if (!parse(args, positionals, error)) {
        std::cerr << "tessaly " << command_ << ": " << error << "\n(tessaly " << command_ << " --help lists the options)\n";
        return 2;
    }
    return run(positionals);
}

std::string takeWholeNumber(const std::string& option, const std::string& value, long long lo, long long hi,
                            long long& out) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size() || v < lo || v > hi)
        return option + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not \"" +
               value + "\"";
    out = v;
    return "";
}

std::string takeSeed(const std::string& option, const std::string& value, std::uint64_t& out) {
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size())
        return option + " needs a whole number >= 0, not \"" + value + "\"";
    out = v;
    return "";
}

std::string takeOneOf(const std::string& option, const std::string& value, const std::vector<std::string>& choices,
                      std::size_t& index) {
    const auto it = std::find(choices.begin(), choices.end(), value);
    if (it != choices.end()) {
        index = static_cast<std::size_t>(it - choices.begin());
        return "";
    }
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
    return option + " is " + list + ", not \"" + value + "\"";
}

std::string plural(long long n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace tessaly

#pragma once
// The commands' help in Chinese, for a user whose locale is Chinese: each command's
// purpose, its arguments and its options by name. What has no Chinese text here is
// shown in English.
#include <string>
#include <string_view>

namespace tessaly {

// True when the locale that messages follow is Chinese: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty starts with "zh".
bool chineseLocale();

// The Chinese text of a command's purpose, of its i-th argument line, or of one of its
// options ("--seed"); "" when there is none.
std::string purposeZh(std::string_view command);
std::string argumentZh(std::string_view command, std::size_t index);
std::string optionHelpZh(std::string_view command, std::string_view option);

// `tessaly --help`.
extern const char* const kProgramHelp;
extern const char* const kProgramHelpZh;

}  // namespace tessaly

#pragma once
// Where the program keeps what a user asks it to keep, as the XDG base directory
// rules have it: data under $XDG_DATA_HOME/tessaly, settings under
// $XDG_CONFIG_HOME/tessaly, what it leaves about itself (crash reports) under
// $XDG_STATE_HOME/tessaly. A variable that is unset, empty or not an absolute path
// is ignored (the rules call a relative one invalid), and ~/.local/share or
// ~/.config stand in. Nothing here touches the disk but makeUserFolder().
#include <functional>
#include <optional>
#include <string>

namespace tessaly {

// An environment variable's value, or nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
// The process's own environment (and, without a usable HOME, the password entry's home).
std::optional<std::string> processEnvironment(const char* name);

// The program's data folder, "$XDG_DATA_HOME/tessaly"; "" with a reason when
// neither the variable nor a home folder gives one.
std::string dataFolder(std::string& error, const EnvironmentLookup& env = processEnvironment);
// The program's settings folder, "$XDG_CONFIG_HOME/tessaly".
std::string configFolder(std::string& error, const EnvironmentLookup& env = processEnvironment);
// The program's state folder, "$XDG_STATE_HOME/tessaly" (~/.local/state/tessaly).
std::string stateFolder(std::string& error, const EnvironmentLookup& env = processEnvironment);

// Creates the folder and any missing folders above it, each new one readable by its
// owner only (0700), as the rules ask; folders already there are left as they are.
// False with a reason when it cannot be made (or is a file).
bool makeUserFolder(const std::string& path, std::string& error);

}  // namespace tessaly

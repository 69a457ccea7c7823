#pragma once
#include <string>
#include <vector>

namespace tessaly {

// `tessaly voices DIR`: checks a voice pack without starting a practice and prints,
// per clip, where it comes from (the pack, built-in, or refused and why), its length
// and level. Status 0 when every file of the pack is usable, 2 otherwise.
int voicesCommand(const std::vector<std::string>& args);

}  // namespace tessaly

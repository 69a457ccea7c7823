#pragma once
// Whether an output of a known size fits where it is to go: the space its file
// system has free for this user, and the file-size limit of the process
// (`ulimit -f`), whichever is less.
#include <cstdint>
#include <string>

namespace tessaly {

// "" when `bytes` fit at `target`; otherwise why not, with both sizes:
// "it needs 4.69 GB and its file system has 20.0 MB free". `atLeast`: the size is
// the least the output takes ("it needs at least ...").
std::string roomProblem(const std::string& target, std::uint64_t bytes, bool atLeast = false);

// A size for people, in decimal units: "512 bytes", "20.0 MB", "4.69 GB".
std::string byteSize(std::uint64_t bytes);

}  // namespace tessaly

#pragma once
// What a directory entry is, in words for a refusal.
#include <sys/types.h>

namespace tessaly {

// "" for a regular file; otherwise "a directory", "a character device", "a FIFO
// (named pipe)" and so on, or "not a regular file" for anything else.
const char* fileKind(mode_t mode);

}  // namespace tessaly

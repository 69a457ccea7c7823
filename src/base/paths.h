#pragma once
// Paths as text.
#include <string>

namespace tessaly {

// The folder a path names its file in: "a/b" for "a/b/c", "/" for "/c", "." for "c".
std::string folderOf(const std::string& path);

}  // namespace tessaly

#pragma once
// Appending to a file so that what is appended is there whole or not at all: under an
// exclusive lock (two programs appending at once each land whole), in one write after a
// line break that ends a last line cut short, synced to the disk, and cut back to where
// the file ended when any of it fails (a full disk). A new file's name is synced in its
// folder too, so that it survives a power loss.
#include <sys/types.h>

#include <functional>
#include <string>

namespace tessaly {

struct WholeAppend {
    off_t sizeBefore = 0;  // the file's size when the lock was taken
    off_t sizeAfter = 0;
};

// Appends to the open file `fd` (opened O_APPEND) the text `textFor` gives for the
// file's size before it (0: a new file, which may want a header). `folder` is the file's
// folder. False with the reason in `error` ("could not be written: ..."); the file is
// then as it was.
bool appendWhole(int fd, const std::string& folder, const std::function<std::string(off_t sizeBefore)>& textFor,
                 WholeAppend& done, std::string& error);

}  // namespace tessaly

#pragma once
// A file that takes the place of another only once it is complete. The bytes go to
// a temporary file beside the target (same folder, so the rename cannot cross file
// systems), which replaces the target on commit(). Until then, and after a failure
// or an interruption, the target stays as it was.
//
// Only regular files are made or replaced: a device, a FIFO, a socket or a folder
// at the target (or at the end of a symbolic link there) is refused, never turned
// into a regular file. A symbolic link to a regular file stays a link: the file it
// leads to is replaced (or, for a file of the program's own, the link is refused). A replaced file keeps its mode, and its owner and group
// where the process may set them.
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

class OutputFile {
public:
    enum class Links { follow, refuse };
    // Creates the temporary file at once, so that a place that cannot be written is
    // found before any work is done. Null with a one-line reason on failure.
    static std::unique_ptr<OutputFile> create(const std::string& target, std::string& error, Links links = Links::follow);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }
    // Writes the whole content to the temporary file (for small files).
    bool write(const std::string& bytes, std::string& error);
    // Moves the finished file into place.
    bool commit(std::string& error);

private:
    OutputFile(std::string target, std::string place, std::string temporary, Links links)
        : target_(std::move(target)), place_(std::move(place)), temporary_(std::move(temporary)), links_(links) {}

    std::string target_;     // as the user named it
    std::string place_;      // where the file goes: the target, or the file a link there leads to
    std::string temporary_;
    Links links_;
    bool committed_ = false;
};

// True when the two paths name the same file, whatever their spelling: "./a.wav"
// and "a.wav", a symbolic or a hard link to it. Paths that do not exist yet are
// compared as they would be created.
bool sameFile(const std::string& a, const std::string& b);
// The first of `others` that names the same file as `path`, or nullptr.
const std::string* sameFileAmong(const std::string& path, const std::vector<std::string>& others);
// True when `path` is the file standard input reads (`tessaly script - <x --wav x`).
bool isStandardInput(const std::string& path);

// Temporary files still open are removed when a signal ends the program: those that
// end it by default (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1,
// ...). A signal that would end it plainly then ends it with the usual status
// (128 + signal); one that would dump core goes on to do so. SIGXFSZ is ignored,
// so that a write past the file-size limit fails and is reported as an error.
// Signals already ignored stay ignored.
void removeTemporaryFilesOnInterrupt();

}  // namespace tessaly

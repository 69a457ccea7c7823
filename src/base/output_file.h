#pragma once
// A file that takes the place of another only once it is complete. The bytes go to
// a temporary file beside the target (same folder, so the rename cannot cross file
// systems), which replaces the target on commit(). Until then, and after a failure
// or an interruption, the target stays as it was.
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

class OutputFile {
public:
    // Creates the temporary file at once, so that a place that cannot be written is
    // found before any work is done. Null with a one-line reason on failure.
    static std::unique_ptr<OutputFile> create(const std::string& target, std::string& error);
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
    OutputFile(std::string target, std::string temporary) : target_(std::move(target)), temporary_(std::move(temporary)) {}

    std::string target_, temporary_;
    bool committed_ = false;
};

// True when the two paths name the same file, whatever their spelling: "./a.wav"
// and "a.wav", a symbolic or a hard link to it. Paths that do not exist yet are
// compared as they would be created.
bool sameFile(const std::string& a, const std::string& b);

// Temporary files still open are removed when the program is interrupted
// (SIGINT, SIGTERM, SIGHUP), which then ends with the usual status (128 + signal).
void removeTemporaryFilesOnInterrupt();

}  // namespace tessaly

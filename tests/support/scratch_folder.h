#pragma once
// A folder of its own for a test, removed with everything in it at the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessaly {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = ::testing::TempDir() + "tessaly_scratch_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch folder in " << ::testing::TempDir();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace tessaly

#pragma once
// The user's data and settings folders moved aside for a whole test program: a
// script run finds the learning record on when the settings file says so, and no
// test may read or add to the record of whoever runs the tests. Each test program
// registers it once (user_folders.cpp, the window suites' main); a test that looks
// at the folders themselves points them at its own (record_folders.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessaly::testing {

class UserFoldersAside final : public ::testing::Environment {
public:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "tessaly_user_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "no folder for the user's folders in " << ::testing::TempDir();
            return;
        }
        folder_ = pattern;
        ::setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

private:
    std::string folder_;
};

}  // namespace tessaly::testing

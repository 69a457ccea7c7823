// The core suites' program moves the user's folders aside before any test runs.
#include "support/user_folders.h"

namespace {
[[maybe_unused]] ::testing::Environment* const kUserFoldersAside =
    ::testing::AddGlobalTestEnvironment(new tessaly::testing::UserFoldersAside);
}  // namespace

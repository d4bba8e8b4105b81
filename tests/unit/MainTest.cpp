// The program finds data/ beside itself wherever it was started from.
#include <gtest/gtest.h>

#include <filesystem>

#include "demo/Main.h"

namespace {

TEST(Main, EntersTheExecutablesOwnDirectoryWhereDataLies) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path("/");
    const bool entered = enterExecutableDirectory();
    const std::filesystem::path now = std::filesystem::current_path();
    std::filesystem::current_path(before);

    ASSERT_TRUE(entered);
    EXPECT_EQ(now, std::filesystem::read_symlink("/proc/self/exe").parent_path());
    EXPECT_TRUE(std::filesystem::is_directory(now / "data"));
}

}  // namespace

// The program finds its data/ beside itself, or in the share folder of an installed copy,
// wherever it was started from.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "demo/Main.h"

namespace {

namespace fs = std::filesystem;

TEST(Main, EntersTheExecutablesOwnDirectoryWhereDataLies) {
    const fs::path before = fs::current_path();
    fs::current_path("/");
    const bool entered = enterDataHome();
    const fs::path now = fs::current_path();
    fs::current_path(before);

    ASSERT_TRUE(entered);
    EXPECT_EQ(now, fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_TRUE(fs::is_directory(now / "data"));
}

TEST(Main, DataHomeOfAnInstalledProgramIsItsShareFolder) {
    const fs::path prefix =
        fs::temp_directory_path() / ("vornasto-home-" + std::to_string(getpid()));
    fs::create_directories(prefix / "bin");
    EXPECT_EQ(dataHome(prefix / "bin"), prefix / "bin") << "nothing there: the program's folder";

    fs::create_directories(prefix / "share" / "vornasto" / "data");
    EXPECT_EQ(dataHome(prefix / "bin"), prefix / "share" / "vornasto");

    fs::create_directories(prefix / "bin" / "data");
    EXPECT_EQ(dataHome(prefix / "bin"), prefix / "bin") << "data beside the program comes first";
    fs::remove_all(prefix);
}

}  // namespace

#include "demo/Main.h"

#include <filesystem>
#include <system_error>

#include "demo/DemoDriver.h"

bool enterExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !executable.has_parent_path()) {
        return false;
    }
    std::filesystem::current_path(executable.parent_path(), error);
    return !error;
}

int runDemo() {
    enterExecutableDirectory();
    DemoDriver driver;
    return driver.run();
}

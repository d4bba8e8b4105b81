#include "demo/Main.h"

#include <filesystem>
#include <system_error>

#include "demo/DemoDriver.h"
#include "platform/os/AssertionReport.h"

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
    // Only the program has a user to ask; capture and the tests go on past a failed check.
    os::setAssertionAction(os::AssertionAction::Ask);
    DemoDriver driver;
    return driver.run();
}

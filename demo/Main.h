// The program: the command line, the folder its data lies in, and the driver.
#pragma once

#include <filesystem>
#include <span>
#include <string>

// Changes into the directory of the running executable, so that data/ beside it is found
// wherever the program was started from. False when that directory is unknown or unreachable;
// the program then stays where it was started.
bool enterExecutableDirectory();

// The folder holding the data/ of a program that lies in `executableDir`: that folder itself
// when data/ is beside the program (the build tree, an unpacked release archive), else
// ../share/vornasto of an installed program when data/ is there. When neither has data/, the
// executable's folder, so that the missing files are reported by name as usual.
std::filesystem::path dataHome(const std::filesystem::path& executableDir);

// Changes into dataHome of the running executable; false when it cannot (see above).
bool enterDataHome();

// Runs the program with its arguments (the program name excluded): --help and --version print
// and return 0, a bad command line prints one line and returns 2, otherwise the demo runs from
// its data home, asking the user about failed checks (AssertionAction::Ask). Returns the
// process exit code.
int runDemo(std::span<const std::string> args);

// The program: the driver run from the executable's own directory.
#pragma once

// Changes into the directory of the running executable, so that data/ beside it is found
// wherever the program was started from. False when that directory is unknown or unreachable;
// the program then stays where it was started.
bool enterExecutableDirectory();

// Runs the demo, asking the user about failed checks (AssertionAction::Ask), and returns the
// process exit code.
int runDemo();

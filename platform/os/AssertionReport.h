// The run-time assertion report. On the original platform it offered abort, debug or continue;
// here it is a line on standard error followed by the chosen action, continue by default, so an
// unattended run goes on exactly as a user pressing "continue" would make it.
#pragma once

#include <string>

namespace os {

enum class AssertionAction {
    Continue,  // go on right after the failed check
    Abort,     // end the process at once (std::abort), e.g. for a debugging session
};

// The text of a report, without the line break:
// "Assertion failed: EXPRESSION, file SOURCE, line N".
std::string formatAssertionReport(const std::string& expression, const std::string& file, int line);

// Writes the report line to standard error, hands the report to an active AssertionCapture if
// there is one, then takes the current action. Safe to call from any thread.
void assertionReport(const char* expression, const char* file, int line);

void setAssertionAction(AssertionAction action);
AssertionAction assertionAction();

}  // namespace os

// The run-time assertion report. On the original platform it offered abort, debug or continue.
// Here it is always a line on standard error, followed by the chosen action: continue by default,
// so an unattended run (capture, tests, a machine without a screen) goes on exactly as a user
// pressing "continue" would make it. The program itself asks its user (Ask).
#pragma once

#include <string>

namespace os {

enum class AssertionAction {
    Continue,  // go on right after the failed check
    Abort,     // end the process at once (std::abort), e.g. for a debugging session
    // Put the question to the user (AssertionDialog where someone can see it, else Continue).
    // Once the user has continued, later reports of the same file and line are not asked
    // again, so a check failing every frame does not bury the user in boxes.
    Ask,
};

// Puts a report's text to the user and returns Abort or Continue.
using AssertionQuestion = AssertionAction (*)(const std::string& report);

// The text of a report, without the line break:
// "Assertion failed: EXPRESSION, file SOURCE, line N".
std::string formatAssertionReport(const std::string& expression, const std::string& file, int line);

// Writes the report line to standard error, hands the report to an active AssertionCapture if
// there is one (which then stands for the user: nothing is asked), then takes the current
// action. Safe to call from any thread; questions are put one at a time.
void assertionReport(const char* expression, const char* file, int line);

void setAssertionAction(AssertionAction action);
AssertionAction assertionAction();

// Replaces the question Ask puts (null: AssertionDialog::ask again) and forgets which reports
// were continued.
void setAssertionQuestion(AssertionQuestion question);

}  // namespace os

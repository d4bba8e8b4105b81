#include "platform/os/AssertionReport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/os/AssertionCapture.h"

namespace os {

namespace {

std::atomic<AssertionAction> currentAction{AssertionAction::Continue};

}  // namespace

std::string formatAssertionReport(const std::string& expression, const std::string& file,
                                  int line) {
    return "Assertion failed: " + expression + ", file " + file + ", line " + std::to_string(line);
}

void assertionReport(const char* expression, const char* file, int line) {
    const std::string expressionText = expression != nullptr ? expression : "";
    const std::string fileText = file != nullptr ? file : "";
    const std::string text = formatAssertionReport(expressionText, fileText, line) + "\n";
    // One write per report keeps the lines of two reporting threads apart.
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    AssertionCapture::deliver(AssertionRecord{expressionText, fileText, line});
    if (currentAction.load() == AssertionAction::Abort) {
        std::abort();
    }
}

void setAssertionAction(AssertionAction action) {
    currentAction.store(action);
}

AssertionAction assertionAction() {
    return currentAction.load();
}

}  // namespace os

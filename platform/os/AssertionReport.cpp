#include "platform/os/AssertionReport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <utility>

#include "platform/os/AssertionCapture.h"
#include "platform/os/AssertionDialog.h"

namespace os {

namespace {

std::atomic<AssertionAction> currentAction{AssertionAction::Continue};

// The question, and the reports the user has continued, as one state behind one lock.
struct Questions {
    std::mutex mutex;
    AssertionQuestion question = &AssertionDialog::ask;
    std::set<std::pair<std::string, int>> continued;

    static Questions& instance() {
        static Questions questions;
        return questions;
    }
};

bool userAborts(const std::string& file, int line, const std::string& report) {
    Questions& questions = Questions::instance();
    std::lock_guard lock(questions.mutex);
    if (questions.continued.contains({file, line})) {
        return false;
    }
    if (questions.question(report) == AssertionAction::Abort) {
        return true;
    }
    questions.continued.insert({file, line});
    return false;
}

}  // namespace

std::string formatAssertionReport(const std::string& expression, const std::string& file,
                                  int line) {
    return "Assertion failed: " + expression + ", file " + file + ", line " + std::to_string(line);
}

void assertionReport(const char* expression, const char* file, int line) {
    const std::string expressionText = expression != nullptr ? expression : "";
    const std::string fileText = file != nullptr ? file : "";
    const std::string report = formatAssertionReport(expressionText, fileText, line);
    // One write per report keeps the lines of two reporting threads apart.
    std::fputs((report + "\n").c_str(), stderr);
    std::fflush(stderr);
    const bool captured =
        AssertionCapture::deliver(AssertionRecord{expressionText, fileText, line});
    const AssertionAction action = currentAction.load();
    if (action == AssertionAction::Abort ||
        (action == AssertionAction::Ask && !captured && userAborts(fileText, line, report))) {
        std::abort();
    }
}

void setAssertionAction(AssertionAction action) {
    currentAction.store(action);
}

AssertionAction assertionAction() {
    return currentAction.load();
}

void setAssertionQuestion(AssertionQuestion question) {
    Questions& questions = Questions::instance();
    std::lock_guard lock(questions.mutex);
    questions.question = question != nullptr ? question : &AssertionDialog::ask;
    questions.continued.clear();
}

}  // namespace os

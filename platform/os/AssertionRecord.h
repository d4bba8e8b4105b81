// One run-time assertion report: the expression text, the source it names and the line.
#pragma once

#include <string>

namespace os {

struct AssertionRecord {
    std::string expression;
    std::string file;
    int line = 0;

    bool operator==(const AssertionRecord&) const = default;
};

}  // namespace os

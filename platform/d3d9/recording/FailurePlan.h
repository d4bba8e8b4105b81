// Failures a test asks for in advance: an operation name and a result, either for every call of
// that operation or only for its nth call counted from when the failure was planned.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/d3d9/d3d9.h"

class FailurePlan {
public:
    // nth = 0: every call fails; nth = n: only the nth call from now fails.
    void fail(std::string operation, HRESULT result, unsigned nth = 0);
    void clear();

    // Counts this call of the operation and answers D3D_OK or the planned failure.
    HRESULT next(std::string_view operation);

private:
    struct Rule {
        std::string operation;
        HRESULT result;
        unsigned nth;
        unsigned seen;
    };
    std::vector<Rule> rules_;
};

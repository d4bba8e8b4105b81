#include "platform/d3d9/recording/FailurePlan.h"

void FailurePlan::fail(std::string operation, HRESULT result, unsigned nth) {
    rules_.push_back(Rule{std::move(operation), result, nth, 0});
}

void FailurePlan::clear() {
    rules_.clear();
}

HRESULT FailurePlan::next(std::string_view operation) {
    HRESULT answer = D3D_OK;
    // Every rule of the operation counts the call, so two "nth" rules keep their own counts.
    for (Rule& rule : rules_) {
        if (rule.operation != operation) {
            continue;
        }
        ++rule.seen;
        if (SUCCEEDED(answer) && (rule.nth == 0 || rule.seen == rule.nth)) {
            answer = rule.result;
        }
    }
    return answer;
}

// The ordered record of the calls a recording device received: one readable line per call
// ("SetRenderState(D3DRS_ZWRITEENABLE, 0)") together with the bare operation name, so tests can
// compare whole sequences or just count one operation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CallLog {
public:
    void add(std::string operation, std::string text);
    void clear();

    const std::vector<std::string>& texts() const { return texts_; }
    std::size_t count(std::string_view operation) const;
    std::vector<std::string> startingWith(std::string_view prefix) const;

    // The operation name of a free-form line: the text before its first '('.
    static std::string operationOf(std::string_view text);

private:
    std::vector<std::string> operations_;
    std::vector<std::string> texts_;
};

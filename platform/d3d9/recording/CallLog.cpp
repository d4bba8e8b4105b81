#include "platform/d3d9/recording/CallLog.h"

#include <algorithm>

void CallLog::add(std::string operation, std::string text) {
    operations_.push_back(std::move(operation));
    texts_.push_back(std::move(text));
}

void CallLog::clear() {
    operations_.clear();
    texts_.clear();
}

std::size_t CallLog::count(std::string_view operation) const {
    return static_cast<std::size_t>(std::count(operations_.begin(), operations_.end(), operation));
}

std::vector<std::string> CallLog::startingWith(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& text : texts_) {
        if (std::string_view(text).substr(0, prefix.size()) == prefix) {
            found.push_back(text);
        }
    }
    return found;
}

std::string CallLog::operationOf(std::string_view text) {
    return std::string(text.substr(0, text.find('(')));
}

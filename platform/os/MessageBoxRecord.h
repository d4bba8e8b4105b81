// One message box as the program asked for it.
#pragma once

#include <string>

namespace os {

struct MessageBoxRecord {
    std::string caption;
    std::string text;

    bool operator==(const MessageBoxRecord&) const = default;
};

}  // namespace os

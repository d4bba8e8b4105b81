#include "platform/os/CaseInsensitiveLookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace os {

namespace {

char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

std::string joined(const std::string& folder, const std::string& component) {
    if (folder.empty()) {
        return component;
    }
    return folder.back() == '/' ? folder + component : folder + "/" + component;
}

}  // namespace

bool CaseInsensitiveLookup::equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldAscii(x) == foldAscii(y);
           });
}

std::optional<std::string> CaseInsensitiveLookup::resolve(const std::string& path) {
    std::string resolved = path.starts_with('/') ? "/" : "";
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        const std::string exact = joined(resolved, component);
        if (component == "." || component == ".." || exists(exact)) {
            resolved = exact;
            continue;
        }
        const auto match = matchInFolder(resolved, component);
        if (!match) {
            return std::nullopt;
        }
        resolved = joined(resolved, *match);
    }
    return resolved.empty() ? std::nullopt : std::optional(resolved);
}

std::optional<std::string> CaseInsensitiveLookup::matchInFolder(const std::string& folder,
                                                                const std::string& component) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    std::optional<std::string> match;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (equalIgnoringCase(name, component)) {
            if (match) {
                return std::nullopt;
            }
            match = std::move(name);
        }
    }
    return match;
}

}  // namespace os

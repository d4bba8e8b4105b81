// Finds a file the way the original platform's file systems do, which ignore letter case: data
// made there names "CWALL02.JPG" for a file that is "cwall02.jpg" on disk. Only ASCII letters are
// folded; other bytes must match exactly.
//
// Each component of the path is taken as it is when a file of exactly that name exists, and
// otherwise as the one entry of its folder that matches it ignoring case. Two or more such
// entries (a.JPG and A.jpg) make the name ambiguous, and it is not found. "." and ".." are never
// folded, so a path reaches no folder the same path in exact case could not reach.
#pragma once

#include <optional>
#include <string>

namespace os {

class CaseInsensitiveLookup {
public:
    // The path of the file on disk, or nothing when no single file matches.
    static std::optional<std::string> resolve(const std::string& path);

    static bool equalIgnoringCase(const std::string& a, const std::string& b);

private:
    // The one entry of folder named like component ignoring case.
    static std::optional<std::string> matchInFolder(const std::string& folder,
                                                    const std::string& component);
};

}  // namespace os

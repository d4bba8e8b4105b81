// Lets a test take the failure reports of a scope instead of showing them to a user.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace os {

// While a ReportCapture<Record> exists, every report of its kind is appended to it (the
// innermost one when captures nest) and no dialog is shown. Reports may come from any thread,
// so the active capture and its records are guarded by one mutex per record kind.
template <typename Record>
class ReportCapture {
public:
    ReportCapture() {
        std::lock_guard lock(mutex());
        previous_ = active();
        active() = this;
    }
    ~ReportCapture() {
        std::lock_guard lock(mutex());
        active() = previous_;
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::vector<Record> records() const {
        std::lock_guard lock(mutex());
        return records_;
    }
    std::size_t count() const {
        std::lock_guard lock(mutex());
        return records_.size();
    }
    void clear() {
        std::lock_guard lock(mutex());
        records_.clear();
    }

    // Hands a report to the active capture; false when none is active.
    static bool deliver(const Record& record) {
        std::lock_guard lock(mutex());
        if (active() == nullptr) {
            return false;
        }
        active()->records_.push_back(record);
        return true;
    }

private:
    static ReportCapture*& active() {
        static ReportCapture* current = nullptr;
        return current;
    }
    static std::mutex& mutex() {
        static std::mutex guard;
        return guard;
    }

    ReportCapture* previous_ = nullptr;
    std::vector<Record> records_;
};

}  // namespace os

#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Common {

/// Collects the durations of named scope timers: per name, how often it ran, the total and the longest.
/// Process-wide; timers of pictures drawn on several threads record into it at once.
class PerformanceManager {
public:
    enum TimerOwner { Application = 0, Renderer = 1 };

    struct TimerStats {
        std::uint64_t count = 0;
        std::chrono::nanoseconds total{0};
        std::chrono::nanoseconds longest{0};
    };

    static PerformanceManager& Instance();

    void Record(TimerOwner owner, const std::wstring& name, std::chrono::nanoseconds duration);
    /// Same; repeated records of one name buffer (a literal, in practice) allocate nothing.
    void Record(TimerOwner owner, const wchar_t* name, std::chrono::nanoseconds duration);
    /// Statistics of one timer name; all zero when it never ran.
    TimerStats Get(const std::wstring& name) const;
    const std::map<std::wstring, TimerStats>& All() const { return stats_; }
    void Reset() {
        const std::lock_guard<std::mutex> lock(mutex_);
        byName_.clear();
        stats_.clear();
    }
    /// One line per timer: name, count, total ms, mean ms, longest ms.
    std::string Report() const;

private:
    static void Add(TimerStats& stats, std::chrono::nanoseconds duration);

    mutable std::mutex mutex_;  // guards both tables
    std::map<std::wstring, TimerStats> stats_;
    // Entries of stats_ by the address of a name; map nodes do not move. The text is compared too, in case
    // a caller's buffer is reused for another name.
    std::unordered_map<const wchar_t*, std::map<std::wstring, TimerStats>::iterator> byName_;
};

/// Measures the lifetime of its scope and records it with the PerformanceManager.
class PerformanceTimer {
public:
    PerformanceTimer(PerformanceManager::TimerOwner owner, const wchar_t* name, const wchar_t* detail);
    virtual ~PerformanceTimer();
    PerformanceTimer(const PerformanceTimer&) = delete;
    PerformanceTimer& operator=(const PerformanceTimer&) = delete;

private:
    PerformanceManager::TimerOwner owner_;
    const wchar_t* name_;  // not owned; a string literal in practice
    std::chrono::steady_clock::time_point start_;
};

}  // namespace Common

#include "common/PerformanceTimer.h"

#include <cstdio>
#include <string>

namespace Common {

namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7F ? char(c) : '?');
    return out;
}

double Milliseconds(std::chrono::nanoseconds duration) {
    return double(duration.count()) / 1e6;
}

}  // namespace

PerformanceManager& PerformanceManager::Instance() {
    static PerformanceManager manager;
    return manager;
}

void PerformanceManager::Add(TimerStats& stats, std::chrono::nanoseconds duration) {
    ++stats.count;
    stats.total += duration;
    if (duration > stats.longest) stats.longest = duration;
}

void PerformanceManager::Record(TimerOwner owner, const std::wstring& name,
                                std::chrono::nanoseconds duration) {
    (void)owner;  // statistics are kept per name
    const std::lock_guard<std::mutex> lock(mutex_);
    Add(stats_[name], duration);
}

void PerformanceManager::Record(TimerOwner owner, const wchar_t* name, std::chrono::nanoseconds duration) {
    (void)owner;
    if (!name) name = L"";
    const std::lock_guard<std::mutex> lock(mutex_);
    auto cached = byName_.find(name);
    if (cached == byName_.end() || cached->second->first != name) {
        auto entry = stats_.try_emplace(std::wstring(name)).first;
        cached = byName_.insert_or_assign(name, entry).first;
    }
    Add(cached->second->second, duration);
}

PerformanceManager::TimerStats PerformanceManager::Get(const std::wstring& name) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto it = stats_.find(name);
    return it == stats_.end() ? TimerStats() : it->second;
}

std::string PerformanceManager::Report() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::string report;
    char line[512];
    std::snprintf(line, sizeof line, "%-48s %10s %12s %12s %12s\n", "timer", "count", "total ms", "mean ms",
                  "longest ms");
    report += line;
    for (const auto& [name, stats] : stats_) {
        const double total = Milliseconds(stats.total);
        const double mean = stats.count ? total / double(stats.count) : 0.0;
        std::snprintf(line, sizeof line, "%-48s %10llu %12.3f %12.3f %12.3f\n", Narrow(name).c_str(),
                      static_cast<unsigned long long>(stats.count), total, mean, Milliseconds(stats.longest));
        report += line;
    }
    return report;
}

PerformanceTimer::PerformanceTimer(PerformanceManager::TimerOwner owner, const wchar_t* name,
                                   const wchar_t* detail)
    : owner_(owner), name_(name), start_(std::chrono::steady_clock::now()) {
    (void)detail;  // the detail only annotates a trace; statistics are per name
}

PerformanceTimer::~PerformanceTimer() {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    PerformanceManager::Instance().Record(owner_, name_,
                                          std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed));
}

}  // namespace Common

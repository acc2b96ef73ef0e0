#include "HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Replaces the global allocation functions of the benchmark program to count bytes in use. The same
// measure (malloc_usable_size) on both sides keeps the count exact whatever the allocator rounds to.

namespace {

std::atomic<std::int64_t> live{0};
std::atomic<std::int64_t> peak{0};

void* CountedAllocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const std::int64_t now =
        live.fetch_add(std::int64_t(malloc_usable_size(block))) + std::int64_t(malloc_usable_size(block));
    std::int64_t highest = peak.load(std::memory_order_relaxed);
    while (now > highest && !peak.compare_exchange_weak(highest, now)) {
    }
    return block;
}

void CountedFree(void* block) noexcept {
    if (block == nullptr) return;
    live.fetch_sub(std::int64_t(malloc_usable_size(block)));
    std::free(block);
}

}  // namespace

namespace HeapCounter {

std::int64_t Live() {
    return live.load();
}
std::int64_t Peak() {
    return peak.load();
}
void ResetPeak() {
    peak.store(live.load());
}

}  // namespace HeapCounter

void* operator new(std::size_t size) {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAllocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAllocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept {
    CountedFree(block);
}
void operator delete[](void* block) noexcept {
    CountedFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    CountedFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    CountedFree(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    CountedFree(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    CountedFree(block);
}

#include "alloc_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    const std::size_t bytes = malloc_usable_size(p);
    const std::size_t now = live.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    std::size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
    return p;
}

void Release(void* p) noexcept
{
    if (!p)
        return;
    live.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

}  // namespace

namespace bench::heap {

std::size_t liveBytes() { return live.load(std::memory_order_relaxed); }
std::size_t peakBytes() { return peak.load(std::memory_order_relaxed); }
void resetPeak() { peak.store(live.load(std::memory_order_relaxed), std::memory_order_relaxed); }

}  // namespace bench::heap

// The ordinary forms; the nothrow ones of the standard library call these.
// Over-aligned allocations keep the library's own operators: nothing measured
// here uses them.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

// Global operator new that counts calls, so tests can prove a code path allocates nothing, and can
// refuse large requests.
#include "common/CountingNew.h"

#include <cstdlib>
#include <new>

namespace {
long long allocations = 0;
unsigned long long largest = 0;  // 0: no limit
}

long long AllocationCount() { return allocations; }
void SetLargestAllocation(unsigned long long bytes) { largest = bytes; }

void* operator new(std::size_t size) {
    ++allocations;
    if (largest != 0 && size > largest) throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

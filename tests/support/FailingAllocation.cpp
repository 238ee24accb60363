#include "support/FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> failingSize{0};

}  // namespace

void FailNextAllocationOf(std::size_t bytes)
{
    failingSize = bytes;
}

// The test program's own allocation functions: they take the place of the
// library's wherever this file is linked in. The library's array forms call them.
void* operator new(std::size_t size)
{
    std::size_t armed = size;
    if (size != 0 && failingSize.compare_exchange_strong(armed, 0))
        throw std::bad_alloc();
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

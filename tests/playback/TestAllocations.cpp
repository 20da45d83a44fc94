#include "playback/TestAllocations.h"

#include <cstdlib>
#include <new>

namespace {

thread_local int counting = 0;
thread_local long long allocated = 0;
thread_local long long freed = 0;

void* allocate(std::size_t size)
{
    if (counting > 0)
        ++allocated;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        std::abort(); // nothing in this code base catches bad_alloc
    return block;
}

void release(void* block)
{
    if (block && counting > 0)
        ++freed;
    std::free(block);
}

} // namespace

TestAllocations::TestAllocations()
{
    ++counting;
    allocated = 0;
    freed = 0;
}

TestAllocations::~TestAllocations()
{
    --counting;
}

long long TestAllocations::allocations() const
{
    return allocated;
}

long long TestAllocations::frees() const
{
    return freed;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* block) noexcept
{
    release(block);
}

void operator delete[](void* block) noexcept
{
    release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    release(block);
}

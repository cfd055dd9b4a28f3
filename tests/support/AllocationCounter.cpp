#include "support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define VELMORA_COUNTS_MALLOC 1
extern "C"
{
    void* __libc_malloc(std::size_t);
    void* __libc_calloc(std::size_t, std::size_t);
    void* __libc_realloc(void*, std::size_t);
}
#endif

namespace
{

std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};

void Count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}

// The allocator behind operator new, bypassing the counting malloc below so
// that one new counts once.
void* RawAllocate(std::size_t size)
{
#ifdef VELMORA_COUNTS_MALLOC
    return __libc_malloc(size ? size : 1);
#else
    return std::malloc(size ? size : 1);
#endif
}

void* Allocate(std::size_t size)
{
    Count();
    void* p = RawAllocate(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    Count();
    const std::size_t align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* p = std::aligned_alloc(align, rounded ? rounded : align);
    if (!p)
        throw std::bad_alloc();
    return p;
}

}  // namespace

// new and delete are replaced as a pair over malloc and free, which the
// compiler cannot tell when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    Count();
    return RawAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    Count();
    return RawAllocate(size);
}
void* operator new(std::size_t size, std::align_val_t a)
{
    return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a)
{
    return AllocateAligned(size, a);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

#ifdef VELMORA_COUNTS_MALLOC
extern "C"
{
    void* malloc(std::size_t size)
    {
        Count();
        return __libc_malloc(size);
    }

    void* calloc(std::size_t count, std::size_t size)
    {
        Count();
        return __libc_calloc(count, size);
    }

    void* realloc(void* p, std::size_t size)
    {
        Count();
        return __libc_realloc(p, size);
    }
}
#endif

CAllocationWindow::CAllocationWindow()
{
    allocations.store(0);
    counting.store(true);
}

CAllocationWindow::~CAllocationWindow()
{
    counting.store(false);
}

int64_t CAllocationWindow::Stop()
{
    counting.store(false);
    return allocations.load();
}

bool CAllocationWindow::CountsMalloc()
{
#ifdef VELMORA_COUNTS_MALLOC
    return true;
#else
    return false;
#endif
}

// Counts every heap allocation of this test binary while a window is open:
// the global operator new family is replaced here, and on glibc builds
// without AddressSanitizer (which owns malloc itself) malloc, calloc and
// realloc too. The effect chain must not allocate once it has been built.
#include "effects/CEffectChain.h"

#include "synth/CSynth.h"
#include "synth/SynthProgram.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define VELMORA_COUNTS_MALLOC 1
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
}
#endif

namespace {

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

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
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
void* operator new(std::size_t size, std::align_val_t a) { return AllocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

#ifdef VELMORA_COUNTS_MALLOC
extern "C" {
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

namespace {

class CountingWindow
{
public:
    CountingWindow()
    {
        allocations.store(0);
        counting.store(true);
    }
    ~CountingWindow() { counting.store(false); }
    int64_t Stop()
    {
        counting.store(false);
        return allocations.load();
    }
};

void EveryEffectAtMaximum(SynthProgram& p)
{
    p.fxWaveshape = p.fxChorus = p.fxPhaser = 1.0f;
    p.fxDelay = p.fxReverb = p.fxEq = 1.0f;
    p.foldback = 1.0f;
    p.chorusDepth = 1.0f;
    p.chorusDelay = 150;
    p.chorusFeedback = 1.0f;
    p.phaserStages = 16;
    p.phaserFeedback = 1.0f;
    p.delayFeedback = 1.0f;
    p.delayBeats = 32;
    p.reverbSize = 100;
}

}  // namespace

TEST(CEffectChainAllocation, CounterSeesAllocations)
{
    CountingWindow window;
    int* volatile p = new int(3);
    delete p;
    EXPECT_GE(window.Stop(), 1);
}

TEST(CEffectChainAllocation, ProcessingAllocatesNothing)
{
    auto chain = std::make_unique<CEffectChain>();
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    EveryEffectAtMaximum(program);
    std::vector<float> left = Noise(4096, 0.9f, 1);
    std::vector<float> right = Noise(4096, 0.9f, 2);

    CountingWindow window;
    for (int block = 0; block < 200; ++block)
    {
        // Settings, tempo and rate change while audio runs.
        program.reverbSize = 10 + block % 90;
        program.delayBeats = 1 + block % 32;
        program.fxChorus = (block % 3) * 0.5f;
        chain->SetTempo(60.0f + block);
        if (block % 50 == 49)
            chain->SetSampleRate(block % 100 == 99 ? 96000 : 48000);
        chain->Process(program, left.data(), right.data(), block % 2 ? 4096 : 1);
    }
    EXPECT_EQ(window.Stop(), 0);
}

TEST(CEffectChainAllocation, SynthBlocksWithEveryEffectAllocateNothing)
{
    auto synth = std::make_unique<CSynth>();
    EveryEffectAtMaximum(*synth->currentProgram);
    std::vector<float> left(8192, 0.0f);
    std::vector<float> right(8192, 0.0f);

    CountingWindow window;
    for (int32_t note = 40; note < 72; ++note)
        synth->HandleMidi(0x90u | static_cast<uint32_t>(note) << 8 | 100u << 16);
    for (int block = 0; block < 40; ++block)
    {
        float* outputs[2] = {left.data(), right.data()};
        synth->ProcessBlock(nullptr, outputs, block % 2 ? 8192 : 33);
        if (block == 20)
            synth->SetSampleRate(96000);
    }
    const int64_t counted = window.Stop();
    EXPECT_EQ(counted, 0);
    EXPECT_GT(synth->peakLeft, 0.0f);  // the path really ran
}

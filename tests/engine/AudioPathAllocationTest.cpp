// Counts every heap allocation of this test binary: the global operator new
// family is replaced here, and on glibc builds without AddressSanitizer (which
// owns malloc itself) malloc, calloc and realloc too. The audio path must not
// allocate once the synth has been built.
#include "EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
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

using enginetest::NoteOff;
using enginetest::NoteOn;

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

void RenderBlocks(CSynth& synth, float* left, float* right, int32_t frames, int32_t blockSize)
{
    for (int32_t start = 0; start < frames; start += blockSize)
    {
        const int32_t n = frames - start < blockSize ? frames - start : blockSize;
        float* outputs[2] = {left + start, right + start};
        synth.ProcessBlock(nullptr, outputs, n);
    }
}

}  // namespace

TEST(AudioPathAllocation, CounterSeesAllocations)
{
    CountingWindow window;
    int* volatile p = new int(3);
    delete p;
#ifdef VELMORA_COUNTS_MALLOC
    void* volatile q = std::malloc(24);
    std::free(q);
    EXPECT_EQ(window.Stop(), 2);
#else
    EXPECT_EQ(window.Stop(), 1);
#endif
}

TEST(AudioPathAllocation, NotesControllersAndRendersAllocateNothing)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram& p = *synth->currentProgram;
    p.noise = 0.4f;
    p.wave1 = 4;
    p.wave2 = 3;
    p.pmAmount = 0.5f;
    p.feedback = 0.5f;
    p.lfo[1].wave = 4;
    p.lfo[2].sync = 1;
    p.lfo[0].restart = 0;
    p.lfo2Cutoff = 0.5f;
    p.lfo1Vibrato = 0.5f;
    std::vector<float> left(1 << 16), right(1 << 16);

    CountingWindow window;
    for (int32_t note = 20; note < 60; ++note)
        synth->HandleMidi(NoteOn(note, note));
    synth->HandleMidi(0xB0u | 1u << 8 | 100u << 16);
    synth->HandleMidi(0xE0u | 0x10u << 8 | 0x50u << 16);
    RenderBlocks(*synth, left.data(), right.data(), 44100, 256);
    for (int32_t note = 20; note < 60; ++note)
        synth->HandleMidi(NoteOff(note));
    RenderBlocks(*synth, left.data(), right.data(), 30000, 1);
    RenderBlocks(*synth, left.data(), right.data(), 1 << 16, 1 << 16);
    synth->SetProgram(3);
    synth->currentProgram->mono = 1;
    synth->currentProgram->legato = 1;
    for (int32_t note = 60; note < 70; ++note)
        synth->HandleMidi(NoteOn(note));
    RenderBlocks(*synth, left.data(), right.data(), 5000, 100);
    for (int32_t note = 60; note < 70; ++note)
        synth->HandleMidi(NoteOff(note));
    synth->SetTempo(93.0f);
    synth->SetTransport(true);
    synth->HandleMidi(0xF8u);
    RenderBlocks(*synth, left.data(), right.data(), 20000, 512);
    const int64_t counted = window.Stop();

    EXPECT_EQ(counted, 0);
    EXPECT_GT(synth->peakLeft, 0.0f);  // the path really ran
}

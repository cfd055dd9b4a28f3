#pragma once

#include "image/CHuffmanTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Decompresses a zlib stream (RFC 1950) of DEFLATE data (RFC 1951) and hands
// the output, in order, to a sink in runs of bytes. Checksums are not checked.
// The input is treated as hostile: every length, distance and code table is
// checked, and nothing is read or written outside the buffers.
class CInflater
{
public:
    // Receives the decompressed bytes; returning false stops inflating.
    class Sink
    {
    public:
        virtual ~Sink() = default;
        virtual bool Take(const uint8_t* bytes, size_t count) = 0;
    };

    enum class Result
    {
        Complete,   // the final block ended
        Truncated,  // the data ran out first; all bytes decoded so far were given
        Failed      // bad header or data, or the sink refused a byte
    };

    Result Inflate(const uint8_t* data, size_t size, Sink& sink);

private:
    static constexpr size_t kWindowBytes = 32768;
    static constexpr size_t kMaxMatch = 258;
    // Matches are copied eight bytes at a time and may write this far past their end.
    static constexpr size_t kCopySlack = 8;
    // Output collects behind the window and goes to the sink in runs this long.
    static constexpr size_t kRunBytes = 262144;
    static constexpr size_t kOutputBytes = kWindowBytes + kRunBytes;

    Result InflateBlocks(CBitReader& in);
    Result CopyStored(CBitReader& in);
    Result ReadDynamicTables(CBitReader& in);
    void BuildFixedTables();
    Result DecodeBlock(CBitReader& in);
    // Gives the pending output to the sink and, when too little room is left
    // for another match, moves the last window's worth to the front.
    bool Flush();
    bool NearlyFull(size_t end) const { return end > kOutputBytes - kMaxMatch - kCopySlack; }

    CHuffmanTable literals;
    CHuffmanTable distances;
    // Window history, then output not yet given. Not cleared: matches only
    // read bytes already written.
    std::unique_ptr<uint8_t[]> output;
    size_t outEnd = 0;    // bytes used in output
    size_t outGiven = 0;  // output[0, outGiven) went to the sink
    Sink* sink = nullptr;
};

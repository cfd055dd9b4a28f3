#pragma once

#include "image/CHuffmanTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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
    // Output collects behind the window and goes to the sink in runs this long.
    static constexpr size_t kRunBytes = 65536;

    Result InflateBlocks(CBitReader& in);
    Result CopyStored(CBitReader& in);
    Result ReadDynamicTables(CBitReader& in);
    void BuildFixedTables();
    Result DecodeBlock(CBitReader& in);
    // Gives the pending output to the sink and keeps the last window's worth.
    bool Flush();

    CHuffmanTable literals;
    CHuffmanTable distances;
    std::vector<uint8_t> output;  // window history, then output not yet given
    size_t outEnd = 0;            // bytes used in output
    size_t outGiven = 0;          // output[0, outGiven) went to the sink
    Sink* sink = nullptr;
};

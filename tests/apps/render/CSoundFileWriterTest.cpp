#include "CSoundFileWriter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <vector>

namespace
{
struct ReadBack
{
    SF_INFO info = {};
    std::vector<float> samples;  // interleaved, full scale 1
};

ReadBack ReadSamples(const std::string& path)
{
    ReadBack back;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &back.info);
    EXPECT_NE(file, nullptr) << path;
    if (!file)
        return back;
    back.samples.resize(static_cast<size_t>(back.info.frames * back.info.channels));
    sf_readf_float(file, back.samples.data(), back.info.frames);
    sf_close(file);
    return back;
}

bool WriteFile(const std::string& path, CSoundFileWriter::Container container, CSoundFileWriter::Encoding encoding)
{
    const float left[4] = {0.5f, -0.25f, 1.5f, -1.5f};
    const float right[4] = {0.0f, 1.0f / 32768.0f, -1.0f, 0.75f};
    CSoundFileWriter writer;
    return writer.Open(path, container, encoding, 48000) && writer.Write(left, right, 4) && writer.Commit();
}
}

// Frames interleaved; 1.5 and -1.5 clipped to full scale in the integer
// encodings, kept in float; a 16-bit step is 2^-15, a 24-bit one 2^-23.
TEST(CSoundFileWriter, WritesEachEncodingInterleaved)
{
    using W = CSoundFileWriter;
    TempDir dir;
    const struct
    {
        const char* name;
        W::Container container;
        W::Encoding encoding;
        int format;
        float high, low;  // what 1.5 and -1.5 become
    } cases[] = {
        {"out.wav", W::Wav, W::Pcm16, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0x7FFF / 0x1p15f, -1.0f},
        {"out.flac", W::Flac, W::Pcm24, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0x7FFFFF / 0x1p23f, -1.0f},
        {"float.wav", W::Wav, W::Float32, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1.5f, -1.5f},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(WriteFile(dir.File(c.name), c.container, c.encoding)) << c.name;
        const ReadBack back = ReadSamples(dir.File(c.name));
        EXPECT_EQ(back.info.samplerate, 48000) << c.name;
        EXPECT_EQ(back.info.format, c.format) << c.name;
        const std::vector<float> expected = {0.5f, 0.0f, -0.25f, 0x1p-15f, c.high, -1.0f, c.low, 0.75f};
        EXPECT_EQ(back.samples, expected) << c.name;
        // No time stamps: the same input gives the same bytes.
        ASSERT_TRUE(WriteFile(dir.File("again"), c.container, c.encoding));
        EXPECT_EQ(TempDir::Read(dir.File(c.name)), TempDir::Read(dir.File("again"))) << c.name;
    }
    // A 44-byte canonical header then 4 frames of 4 bytes.
    EXPECT_EQ(std::filesystem::file_size(dir.File("out.wav")), 44u + 16u);
}

TEST(CSoundFileWriter, RefusalsNameTheFileAndLeaveNothing)
{
    TempDir dir;
    CSoundFileWriter writer;
    EXPECT_FALSE(writer.Open(dir.File("x.flac"), CSoundFileWriter::Flac, CSoundFileWriter::Float32, 44100));
    EXPECT_EQ(writer.Error(), dir.File("x.flac") + ": FLAC holds 16 or 24 bits, not 32-bit float");
    const std::string path = dir.File("no/such/folder/out.wav");
    EXPECT_FALSE(writer.Open(path, CSoundFileWriter::Wav, CSoundFileWriter::Pcm24, 44100));
    EXPECT_EQ(writer.Error().rfind(path + ": cannot create the file (", 0), 0u) << writer.Error();
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

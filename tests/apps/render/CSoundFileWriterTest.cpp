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
    std::vector<int> samples;  // interleaved, full 32-bit scale
};

ReadBack ReadInts(const std::string& path)
{
    ReadBack back;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &back.info);
    EXPECT_NE(file, nullptr) << path;
    if (!file)
        return back;
    back.samples.resize(static_cast<size_t>(back.info.frames * back.info.channels));
    sf_readf_int(file, back.samples.data(), back.info.frames);
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

TEST(CSoundFileWriter, TellsTheContainerFromTheName)
{
    CSoundFileWriter::Container container = CSoundFileWriter::Flac;
    EXPECT_TRUE(CSoundFileWriter::ContainerFromName("out/demo.wav", container));
    EXPECT_EQ(container, CSoundFileWriter::Wav);
    EXPECT_TRUE(CSoundFileWriter::ContainerFromName("DEMO.FLAC", container));
    EXPECT_EQ(container, CSoundFileWriter::Flac);
    EXPECT_FALSE(CSoundFileWriter::ContainerFromName("demo.mp3", container));
    EXPECT_FALSE(CSoundFileWriter::ContainerFromName("wav", container));
}

TEST(CSoundFileWriter, Writes16BitWavInterleavedAndClipped)
{
    TempDir dir;
    const std::string path = dir.File("out.wav");
    ASSERT_TRUE(WriteFile(path, CSoundFileWriter::Wav, CSoundFileWriter::Pcm16));
    const ReadBack back = ReadInts(path);
    EXPECT_EQ(back.info.samplerate, 48000);
    EXPECT_EQ(back.info.channels, 2);
    EXPECT_EQ(back.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    // 16-bit values scaled to 32 bits by the reader (<< 16).
    const std::vector<int> expected = {16384 << 16,  0,         -8192 * 65536, 1 << 16,
                                       32767 << 16,  -32768 * 65536, -32768 * 65536, 24576 << 16};
    EXPECT_EQ(back.samples, expected);
    // A 44-byte canonical header then 4 frames of 4 bytes.
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 16u);
}

TEST(CSoundFileWriter, Writes24BitFlacAndFloatWav)
{
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.File("out.flac"), CSoundFileWriter::Flac, CSoundFileWriter::Pcm24));
    const ReadBack flac = ReadInts(dir.File("out.flac"));
    EXPECT_EQ(flac.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    ASSERT_EQ(flac.samples.size(), 8u);
    EXPECT_EQ(flac.samples[0], 0x400000 << 8);
    EXPECT_EQ(flac.samples[4], 0x7FFFFF << 8);
    // The same input gives the same bytes.
    ASSERT_TRUE(WriteFile(dir.File("again.flac"), CSoundFileWriter::Flac, CSoundFileWriter::Pcm24));
    EXPECT_EQ(TempDir::Read(dir.File("out.flac")), TempDir::Read(dir.File("again.flac")));

    ASSERT_TRUE(WriteFile(dir.File("float.wav"), CSoundFileWriter::Wav, CSoundFileWriter::Float32));
    SF_INFO info = {};
    SNDFILE* file = sf_open(dir.File("float.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    float frames[8] = {};
    EXPECT_EQ(sf_readf_float(file, frames, 4), 4);
    sf_close(file);
    // Float files keep values beyond full scale.
    EXPECT_EQ(frames[4], 1.5f);
    EXPECT_EQ(frames[6], -1.5f);
    // No time-stamped peak chunk: the same render gives the same bytes.
    EXPECT_EQ(TempDir::Read(dir.File("float.wav")).find("PEAK"), std::string::npos);
}

TEST(CSoundFileWriter, OnlyCommitReplacesTheTarget)
{
    TempDir dir;
    const std::string path = dir.Write("keep.wav", "older file");
    {
        CSoundFileWriter writer;
        ASSERT_TRUE(writer.Open(path, CSoundFileWriter::Wav, CSoundFileWriter::Pcm16, 44100));
        const float silence[2] = {};
        ASSERT_TRUE(writer.Write(silence, silence, 2));
        EXPECT_TRUE(std::filesystem::exists(writer.TemporaryPath()));
        EXPECT_EQ(TempDir::Read(path), "older file");
    }
    // Dropped without Commit: the older file stays and no temporary is left.
    EXPECT_EQ(TempDir::Read(path), "older file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    CSoundFileWriter writer;
    ASSERT_TRUE(writer.Open(path, CSoundFileWriter::Wav, CSoundFileWriter::Pcm16, 44100));
    const std::string temporary = writer.TemporaryPath();
    const float one[1] = {0.5f};
    ASSERT_TRUE(writer.Write(one, one, 1));
    ASSERT_TRUE(writer.Commit());
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(std::filesystem::file_size(path), 48u);
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

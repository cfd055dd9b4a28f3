#include "io/CMemoryStream.h"
#include "io/CPresetFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
void PutBE(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<uint8_t>(value >> 24);
    bytes[at + 1] = static_cast<uint8_t>(value >> 16);
    bytes[at + 2] = static_cast<uint8_t>(value >> 8);
    bytes[at + 3] = static_cast<uint8_t>(value);
}

bool LoadBytes(CPresetFile& file, const std::vector<uint8_t>& bytes)
{
    CMemoryStream stream;
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, CStream::FromStart);
    return file.Load(stream);
}

CPresetFile SampleBank()
{
    CPresetFile bank;
    bank.kind = CPresetFile::Bank;
    bank.pluginId = 0x766C6D31;  // "vlm1"
    bank.pluginVersion = 1;
    bank.count = 64;
    bank.currentProgram = 5;
    bank.chunk = {0xDE, 0xAD, 0xBE, 0xEF, 0x01};
    return bank;
}

std::vector<uint8_t> SavedBytes(const CPresetFile& file)
{
    CMemoryStream stream;
    EXPECT_TRUE(file.Save(stream));
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.length);
}
}

TEST(CPresetFile, BankHeaderIsExactBigEndianBytesAndRoundTrips)
{
    const std::vector<uint8_t> bytes = SavedBytes(SampleBank());
    ASSERT_EQ(bytes.size(), 165u);
    const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 32);
    const std::vector<uint8_t> expected = {'C', 'c', 'n', 'K', 0, 0, 0, 157, 'F', 'B', 'C', 'h', 0, 0, 0, 2,
                                           'v', 'l', 'm', '1', 0, 0, 0, 1,   0,   0,   0,   64,  0, 0, 0, 5};
    EXPECT_EQ(head, expected);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 32, bytes.begin() + 156), std::vector<uint8_t>(124, 0));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 156, bytes.end()),
              (std::vector<uint8_t>{0, 0, 0, 5, 0xDE, 0xAD, 0xBE, 0xEF, 0x01}));

    CPresetFile back;
    ASSERT_TRUE(LoadBytes(back, bytes)) << back.Error();
    EXPECT_EQ(back.currentProgram, 5);
    EXPECT_EQ(SavedBytes(back), bytes);
}

TEST(CPresetFile, PresetHeaderIsExactBigEndianBytesAndTheNameIsCut)
{
    CPresetFile preset;
    preset.kind = CPresetFile::Preset;
    preset.pluginId = 0x766C6D31;
    preset.pluginVersion = 1;
    preset.count = 8;
    preset.programName = std::string(40, 'x');
    preset.chunk = {1, 2, 3};
    const std::vector<uint8_t> bytes = SavedBytes(preset);
    ASSERT_EQ(bytes.size(), 63u);
    const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 28);
    const std::vector<uint8_t> expected = {'C', 'c', 'n', 'K', 0,   0,   0, 55, 'F', 'P', 'C', 'h', 0, 0,
                                           0,   1,   'v', 'l', 'm', '1', 0, 0,  0,   1,   0,   0,   0, 8};
    EXPECT_EQ(head, expected);
    // The 28-byte name field keeps 27 characters and the terminator.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[28])), std::string(27, 'x'));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 56, bytes.end()), (std::vector<uint8_t>{0, 0, 0, 3, 1, 2, 3}));
    // A name field another program wrote without its terminator reads as the
    // 27 characters a save stores, so the file saves back unchanged.
    std::vector<uint8_t> unterminated = bytes;
    unterminated[55] = 'y';
    CPresetFile back;
    ASSERT_TRUE(LoadBytes(back, unterminated)) << back.Error();
    EXPECT_EQ(back.programName, std::string(27, 'x'));
    EXPECT_EQ(SavedBytes(back), bytes);
}

TEST(CPresetFile, ReadsVersionOneBankWithoutCurrentProgram)
{
    std::vector<uint8_t> bytes = SavedBytes(SampleBank());
    PutBE(bytes, 12, 1);
    PutBE(bytes, 28, 0);
    CPresetFile back;
    ASSERT_TRUE(LoadBytes(back, bytes)) << back.Error();
    EXPECT_EQ(back.currentProgram, 0);
    EXPECT_EQ(back.count, 64);
}

// Each damage with the reason the user is shown.
TEST(CPresetFile, RefusesDamagedFilesWithTheirReason)
{
    const std::vector<uint8_t> good = SavedBytes(SampleBank());
    auto damaged = [&good](const std::function<void(std::vector<uint8_t>&)>& damage)
    {
        std::vector<uint8_t> bytes = good;
        damage(bytes);
        return bytes;
    };
    const struct
    {
        std::vector<uint8_t> bytes;
        const char* error;
    } cases[] = {
        {damaged([](auto& b) { b[0] = 'X'; }), "not a VST preset or bank file (no \"CcnK\" magic)"},
        {{}, "not a VST preset or bank file (no \"CcnK\" magic)"},
        {damaged([](auto& b) { b[8] = 'F', b[9] = 'x', b[10] = 'B', b[11] = 'k'; }),
         "holds parameter values, not the chunk data this plug-in stores"},
        {damaged([](auto& b) { b[8] = 'Q', b[9] = 'x', b[10] = 'B', b[11] = 'k'; }), "unknown container type \"QxBk\""},
        {damaged([](auto& b) { b.push_back(0); }), "wrong size: the header says 157 bytes follow it, the file has 158"},
        {damaged([](auto& b) { b.pop_back(); }), "wrong size: the header says 157 bytes follow it, the file has 156"},
        {damaged([](auto& b) { PutBE(b, 156, 0x7FFFFFFF); }),
         "wrong chunk size: the header says 2147483647 bytes, the file holds 5"},
        {damaged([](auto& b) { b.resize(100); }), "truncated: 100 bytes, the header alone takes 160"},
        {damaged([](auto& b) { PutBE(b, 12, 3); }), "unsupported container version 3"},
    };
    for (const auto& c : cases)
    {
        CPresetFile back;
        EXPECT_FALSE(LoadBytes(back, c.bytes)) << c.error;
        EXPECT_EQ(back.Error(), c.error);
    }
}

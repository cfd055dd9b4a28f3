#include "host/VstAbi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// The record as the host reads it: by byte offset.
int32_t ReadInt32At(const AEffect& effect, size_t offset)
{
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&effect) + offset, 4);
    return value;
}

TEST(VstAbi, FourCharacterCodesPutTheFirstCharacterOnTop)
{
    EXPECT_EQ(VstFourCC('V', 's', 't', 'P'), 0x56737450);
    EXPECT_EQ(kEffectMagic, 0x56737450);
    EXPECT_EQ(kVstIdentify, 0x4E764566);
    EXPECT_EQ(VstFourCC('\xff', 0, 0, 1), static_cast<int32_t>(0xFF000001u));
}

TEST(VstAbi, HostReadsTheFiguresAtTheirOffsets)
{
    AEffect effect;
    std::memset(&effect, 0, sizeof effect);
    effect.numPrograms = 64;
    effect.numOutputs = 2;
    effect.flags = effFlagsIsSynth;
    effect.uniqueID = VstFourCC('a', 'b', 'c', 'd');
    EXPECT_EQ(ReadInt32At(effect, VstOffset(20, 40)), 64);
    EXPECT_EQ(ReadInt32At(effect, VstOffset(32, 52)), 2);
    EXPECT_EQ(ReadInt32At(effect, VstOffset(36, 56)), 256);
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&effect) + VstOffset(72, 112), "dcba", 4), 0);
}

TEST(VstAbi, FlagAndOpcodeNumbers)
{
    EXPECT_EQ(effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth, 0x131);
    EXPECT_EQ(kVstPpqPosValid | kVstTempoValid, 0x600);
    EXPECT_EQ(kVstPinIsActive | kVstPinIsStereo, 3);
    EXPECT_EQ(effEditIdle, 19);
    EXPECT_EQ(effGetProgramNameIndexed, 29);
    EXPECT_EQ(effGetVstVersion, 58);
    EXPECT_EQ(audioMasterGetTime, 7);
    EXPECT_EQ(audioMasterWantMidi, 6);
}
}

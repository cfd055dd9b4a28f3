#include "synth/SynthProgram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(SynthProgram, NamesAreCutTo31CharactersAndTheRestCleared)
{
    SynthProgram p;
    std::memset(&p, 'x', sizeof p);
    SetProgramName(p, "0123456789012345678901234567890123456789");
    EXPECT_EQ(std::string(p.name), "0123456789012345678901234567890");
    SetProgramName(p, "ab");
    EXPECT_STREQ(p.name, "ab");
    EXPECT_EQ(p.name[3], 0);
    SetProgramName(p, nullptr);
    EXPECT_STREQ(p.name, "");
}

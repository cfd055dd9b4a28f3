#include "host/CVstEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace
{
std::vector<int32_t> hostOpcodes;
std::vector<int32_t> effectRequests; // what reached the object's dispatcher

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    hostOpcodes.push_back(opcode);
    return 0;
}

// The base with nothing overridden but a record of requests, of program
// changes and of its own end; an idle request runs duringIdle.
class MinimalEffect : public CVstEffect
{
public:
    MinimalEffect(audioMasterCallback host, bool* deleted) : CVstEffect(host, 4, 2), deleted(deleted) {}
    // Closing an editor hands its windows messages, which hold the object
    // again while it goes.
    ~MinimalEffect() override
    {
        Hold();
        Release();
        *deleted = true;
    }
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override
    {
        effectRequests.push_back(opcode);
        if (opcode == effEditIdle && duringIdle)
            duringIdle();
        return CVstEffect::dispatcher(opcode, index, value, ptr, opt);
    }
    void setProgram(int32_t program) override { programs.push_back(program); }
    void MakeSynth() { isSynth(true); }

    std::vector<int32_t> programs;
    std::function<void()> duringIdle;

private:
    bool* deleted;
};

class CVstEffectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hostOpcodes.clear();
        effectRequests.clear();
        effect = new MinimalEffect(Host, &deleted);
        record = effect->getAeffect();
    }
    void TearDown() override
    {
        if (!deleted)
            record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr)
    {
        return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
    }

    bool deleted = false;
    MinimalEffect* effect = nullptr;
    AEffect* record = nullptr;
};

TEST_F(CVstEffectTest, RecordStartsWithTheInterfaceDefaults)
{
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->numPrograms, 4);
    EXPECT_EQ(record->numParams, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, static_cast<void*>(effect));
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_EQ(record->uniqueID, 0);
}

TEST_F(CVstEffectTest, CloseDeletesTheObject)
{
    EXPECT_EQ(Dispatch(effClose), 0);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(CVstEffect::Of(nullptr), nullptr);
    EXPECT_EQ(effectRequests, std::vector<int32_t>{effClose});
}

// Code of ours below the host's call (a window handling a message) holds the
// object: a close then closes the editor at once, and the object goes at the
// last release, once.
TEST_F(CVstEffectTest, CloseWhileHeldWaitsForTheLastRelease)
{
    CVstEffect* owner = CVstEffect::Of(record);
    ASSERT_EQ(owner, effect);
    owner->Hold();
    owner->Hold();
    owner->Release();
    EXPECT_EQ(Dispatch(effEditIdle), 0);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(Dispatch(effClose), 0);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(effectRequests, (std::vector<int32_t>{effEditIdle, effClose, effEditClose}));
    owner->Release();
    EXPECT_TRUE(deleted);
}

TEST_F(CVstEffectTest, CloseInsideAnotherHostCallWaitsForItToReturn)
{
    effect->duringIdle = [this] {
        EXPECT_EQ(Dispatch(effClose), 0);
        EXPECT_FALSE(deleted);
    };
    EXPECT_EQ(Dispatch(effEditIdle), 0);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(effectRequests, (std::vector<int32_t>{effEditIdle, effClose, effEditClose}));
}

TEST_F(CVstEffectTest, SetProgramPassesOnlyDeclaredPrograms)
{
    Dispatch(effSetProgram, 0, 3);
    Dispatch(effSetProgram, 0, 4);
    Dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(effect->programs, std::vector<int32_t>{3});
}

TEST_F(CVstEffectTest, DefaultTextsAreEmptyAndNullBuffersAreNotTouched)
{
    char text[16];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProgramName, 0, 0, text), 0);
    EXPECT_EQ(text[0], 0);
    for (int32_t opcode : {effGetProgramName, effGetParamName, effGetParamDisplay, effGetParamLabel,
                           effSetProgramName, effGetProgramNameIndexed, effGetOutputProperties})
        EXPECT_EQ(Dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, nullptr), -1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 0);
}

TEST_F(CVstEffectTest, CategoryFollowsTheSynthFlag)
{
    EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategUnknown);
    effect->MakeSynth();
    EXPECT_EQ(record->flags, effFlagsIsSynth);
    EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategSynth);
}

TEST_F(CVstEffectTest, ResumeAsksForMidiAndSuspendAsksNothing)
{
    Dispatch(effMainsChanged, 0, 0);
    EXPECT_TRUE(hostOpcodes.empty());
    Dispatch(effMainsChanged, 0, 7);
    EXPECT_EQ(hostOpcodes, std::vector<int32_t>{audioMasterWantMidi});
}

TEST_F(CVstEffectTest, AccumulatingProcessLeavesTheOutputs)
{
    float left[4] = {1, 2, 3, 4};
    float right[4] = {5, 6, 7, 8};
    float* outputs[2] = {left, right};
    record->process(record, nullptr, outputs, 4);
    EXPECT_EQ(left[3], 4.0f);
    EXPECT_EQ(right[0], 5.0f);
}

TEST(CVstEffectWithoutHost, ResumeWithoutCallbackAsksNothing)
{
    bool deleted = false;
    MinimalEffect* effect = new MinimalEffect(nullptr, &deleted);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f), 0);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_TRUE(deleted);
}
}

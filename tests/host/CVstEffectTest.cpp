#include "host/CVstEffect.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
// The base with nothing overridden but a record of the requests that reached
// its dispatcher, of program changes and of its own end; an idle request
// runs duringIdle.
class CMinimalEffect : public CVstEffect
{
public:
    explicit CMinimalEffect(bool* deleted) : CVstEffect(nullptr, 4, 2), deleted(deleted) {}
    // Closing an editor hands its windows messages, which hold the object
    // again while it goes.
    ~CMinimalEffect() override
    {
        Hold();
        Release();
        *deleted = true;
    }
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override
    {
        requests.push_back(opcode);
        if (opcode == effEditIdle && duringIdle)
            duringIdle();
        return CVstEffect::dispatcher(opcode, index, value, ptr, opt);
    }
    void setProgram(int32_t program) override { programs.push_back(program); }

    std::vector<int32_t> requests;
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
        effect = new CMinimalEffect(&deleted);
        record = effect->getAeffect();
    }
    void TearDown() override
    {
        if (!deleted)
            Dispatch(effClose);
    }
    intptr_t Dispatch(int32_t opcode, intptr_t value = 0)
    {
        return record->dispatcher(record, opcode, 0, value, nullptr, 0.0f);
    }

    bool deleted = false;
    CMinimalEffect* effect = nullptr;
    AEffect* record = nullptr;
};

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
    EXPECT_EQ(Dispatch(effClose), 0);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(effect->requests, (std::vector<int32_t>{effEditIdle, effClose, effEditClose}));
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
}

TEST_F(CVstEffectTest, SetProgramPassesOnlyDeclaredPrograms)
{
    for (intptr_t program : {3, 4, -1})
        Dispatch(effSetProgram, program);
    EXPECT_EQ(effect->programs, std::vector<int32_t>{3});
}
}

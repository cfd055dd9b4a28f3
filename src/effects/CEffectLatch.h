#pragma once

// Remembers whether an effect has ever had a level above zero. Once open it
// stays open, so tails and modulation carry on when the level returns to 0.
class CEffectLatch
{
public:
    // Opens the latch when level > 0; true while open.
    bool Admit(float level)
    {
        if (level > 0.0f)
            open = true;
        return open;
    }

    bool IsOpen() const { return open; }

private:
    bool open = false;
};

#pragma once

// Base of the block library's modulation sources.
class MModulator
{
public:
    virtual ~MModulator() = default;

    // Next value of the modulation signal.
    virtual float Tick() = 0;
};

// Recursive sine oscillator: y[n] = 2 cos(w) y[n-1] - y[n-2], re-anchored at
// every peak so that its amplitude cannot drift from 1.
class MSinOsc final : public MModulator
{
public:
    // frequencyHz at sampleRate, starting at startDegrees (90 starts at the
    // peak). sampleRate must be positive.
    void Setup(float frequencyHz, float sampleRate, float startDegrees);

    float Tick() override;

    float Frequency() const { return frequency; }

private:
    float frequency = 0.0f;
    double k = 0.0;   // 2 cos(w)
    double y = 0.0;   // current value
    double y1 = 0.0;  // previous value
    double c = 0.0;   // cos(w): previous value to resume from at a peak
};

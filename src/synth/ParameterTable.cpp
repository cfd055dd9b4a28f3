#include "synth/ParameterTable.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

const char* const kOffOn[] = {"OFF", "ON"};
const char* const kOscillatorWaves[] = {"SAW", "SQUARE", "PULSE", "PM", "SAW2"};
const char* const kLfoWaves[] = {"SIN", "TRI", "SAW", "SQUARE", "RND"};
constexpr int32_t kWaveCount = 5;
constexpr int32_t kMaxBeats = 32;

// Float knobs show the field x 100.
constexpr float kKnobScale = 100.0f;
// Knob values are limited so that a damaged field never makes an undefined
// conversion.
constexpr float kKnobLimit = 1e9f;

constexpr size_t Envelope(int32_t k, size_t member)
{
    return offsetof(SynthProgram, env) + static_cast<size_t>(k) * sizeof(SynthEnvelope) + member;
}

constexpr size_t Lfo(int32_t k, size_t member)
{
    return offsetof(SynthProgram, lfo) + static_cast<size_t>(k) * sizeof(SynthLfo) + member;
}

constexpr ParameterInfo Float(int32_t id, const char* name, const char* label, size_t offset, int32_t lo, int32_t hi,
                              int32_t def, const char* unit = "%")
{
    return {id, name, label, ParameterKind::Float, offset, 0, lo, hi, def, unit, nullptr};
}

constexpr ParameterInfo Int(int32_t id, const char* name, const char* label, size_t offset, int32_t lo, int32_t hi,
                            int32_t def, const char* unit = "")
{
    return {id, name, label, ParameterKind::Integer, offset, 0, lo, hi, def, unit, nullptr};
}

constexpr ParameterInfo Switch(int32_t id, const char* name, const char* label, size_t offset)
{
    return {id, name, label, ParameterKind::Switch, offset, 0, 0, 1, 0, "", kOffOn};
}

constexpr ParameterInfo List(int32_t id, const char* name, const char* label, size_t offset, const char* const* waves)
{
    return {id, name, label, ParameterKind::List, offset, 0, 0, kWaveCount - 1, 0, "", waves};
}

// An effect setting shown in its own units rather than the knob's.
constexpr ParameterInfo Shown(ParameterInfo info, const char* unit, double step, int32_t decimals = 0,
                              int32_t shift = 0)
{
    info.unit = unit;
    info.displayStep = step;
    info.displayDecimals = decimals;
    info.displayShift = shift;
    return info;
}

constexpr ParameterInfo Beats(int32_t id, const char* name, const char* label, size_t offset, size_t division)
{
    return {id, name, label, ParameterKind::Beats, offset, division, 1, kMaxBeats, 1, "", nullptr};
}

// The LFO blocks, each as its panel page shows it: four depths, wave, the
// free rate, the synced rate, sync and restart.
constexpr ParameterInfo LfoWave(int32_t id, const char* name, int32_t k)
{
    return List(id, name, "WAVE", Lfo(k, offsetof(SynthLfo, wave)), kLfoWaves);
}

constexpr ParameterInfo LfoRate(int32_t id, const char* name, int32_t k)
{
    // Unset, the rate starts where a new program starts.
    return Float(id, name, "RATE", Lfo(k, offsetof(SynthLfo, rate)), 0, 100, 57);
}

constexpr ParameterInfo LfoSyncRate(int32_t id, const char* name, int32_t k)
{
    return Beats(id, name, "RATE", Lfo(k, offsetof(SynthLfo, syncBeats)), Lfo(k, offsetof(SynthLfo, syncDiv)));
}

constexpr ParameterInfo LfoSync(int32_t id, const char* name, int32_t k)
{
    return Switch(id, name, "SYNC", Lfo(k, offsetof(SynthLfo, sync)));
}

constexpr ParameterInfo LfoRestart(int32_t id, const char* name, int32_t k)
{
    return Switch(id, name, "RESTART", Lfo(k, offsetof(SynthLfo, restart)));
}

constexpr ParameterInfo Attack(int32_t id, const char* name, int32_t k)
{
    return Float(id, name, "A", Envelope(k, offsetof(SynthEnvelope, attack)), 0, 100, 0);
}

constexpr ParameterInfo Decay(int32_t id, const char* name, int32_t k)
{
    return Float(id, name, "D", Envelope(k, offsetof(SynthEnvelope, decay)), 0, 100, 0);
}

constexpr ParameterInfo Sustain(int32_t id, const char* name, int32_t k)
{
    return Float(id, name, "S", Envelope(k, offsetof(SynthEnvelope, sustain)), 0, 100, 0);
}

constexpr ParameterInfo Release(int32_t id, const char* name, int32_t k)
{
    return Float(id, name, "R", Envelope(k, offsetof(SynthEnvelope, release)), 0, 100, 0);
}

constexpr int32_t kAmpEnvelope = 0;
constexpr int32_t kFilterEnvelope = 1;
constexpr int32_t kModEnvelope = 2;

}  // namespace

// In the order of the editor's panels. Append only: see the header.
constexpr ParameterInfo kParameters[kParameterTableSize] = {
    List(0, "Oscillators Wave1", "WAVE1", offsetof(SynthProgram, wave1), kOscillatorWaves),
    Float(1, "Oscillators Mod1", "MOD", offsetof(SynthProgram, mod1), 0, 100, 0),
    Int(2, "Oscillators Coarse", "COARSE", offsetof(SynthProgram, coarse2), -48, 48, 0, "st"),
    Float(3, "Oscillators Phase", "PHASE", offsetof(SynthProgram, phase), 0, 100, 0),
    List(4, "Oscillators Wave2", "WAVE2", offsetof(SynthProgram, wave2), kOscillatorWaves),
    Float(5, "Oscillators Mod2", "MOD", offsetof(SynthProgram, mod2), 0, 100, 0),
    Float(6, "Oscillators Detune", "DETUNE", offsetof(SynthProgram, detune), 0, 100, 0),
    Float(7, "Oscillators Mix", "MIX", offsetof(SynthProgram, mix), 0, 100, 50),

    Float(8, "X-Mod PM", "PM", offsetof(SynthProgram, pmAmount), 0, 100, 0),
    Float(9, "X-Mod PM Mod", "MOD", offsetof(SynthProgram, pmShape), 0, 100, 0),
    Float(10, "X-Mod FB", "FB", offsetof(SynthProgram, feedback), 0, 100, 0),
    Float(11, "X-Mod FB Mod", "MOD", offsetof(SynthProgram, feedbackShape), 0, 100, 0),
    Float(12, "X-Mod Noise", "NOISE", offsetof(SynthProgram, noise), 0, 100, 0),

    Float(13, "Filter Cutoff", "CUTOFF", offsetof(SynthProgram, cutoff), 0, 100, 100),
    Float(14, "Filter Q", "Q", offsetof(SynthProgram, q), 0, 100, 0),
    Float(15, "Filter Blend", "BLEND", offsetof(SynthProgram, blend), 0, 100, 0),
    Float(16, "Filter Env", "ENV", offsetof(SynthProgram, filterEnv), 0, 100, 100),
    Attack(17, "Filter Attack", kFilterEnvelope),
    Decay(18, "Filter Decay", kFilterEnvelope),
    Sustain(19, "Filter Sustain", kFilterEnvelope),
    Release(20, "Filter Release", kFilterEnvelope),

    Switch(21, "Master Mono", "MONO", offsetof(SynthProgram, mono)),
    Switch(22, "Master Legato", "LEGATO", offsetof(SynthProgram, legato)),
    Int(23, "Master Coarse", "COARSE", offsetof(SynthProgram, coarse), -48, 48, 0, "st"),
    Float(24, "Master Volume", "VOLUME", offsetof(SynthProgram, volume), 0, 100, 50),
    Attack(25, "Master Attack", kAmpEnvelope),
    Decay(26, "Master Decay", kAmpEnvelope),
    Sustain(27, "Master Sustain", kAmpEnvelope),
    Release(28, "Master Release", kAmpEnvelope),

    Float(29, "LFO1 Vibrato", "VIBRATO", offsetof(SynthProgram, lfo1Vibrato), 0, 100, 0),
    Float(30, "LFO1 Tremolo", "TREMOLO", offsetof(SynthProgram, lfo1Tremolo), 0, 100, 0),
    Float(31, "LFO1 Noise", "NOISE", offsetof(SynthProgram, lfo1Noise), 0, 100, 0),
    Float(32, "LFO1 Mix", "MIX", offsetof(SynthProgram, lfo1Mix), 0, 100, 0),
    LfoWave(33, "LFO1 Wave", 0),
    LfoRate(34, "LFO1 Rate", 0),
    LfoSyncRate(35, "LFO1 Sync Rate", 0),
    LfoSync(36, "LFO1 Sync", 0),
    LfoRestart(37, "LFO1 Restart", 0),

    Float(38, "LFO2 Volume", "VOLUME", offsetof(SynthProgram, lfo2Volume), 0, 100, 0),
    Float(39, "LFO2 Pan", "PAN", offsetof(SynthProgram, lfo2Pan), 0, 100, 0),
    Float(40, "LFO2 Cutoff", "CUTOFF", offsetof(SynthProgram, lfo2Cutoff), 0, 100, 0),
    Float(41, "LFO2 Q", "Q", offsetof(SynthProgram, lfo2Q), 0, 100, 0),
    LfoWave(42, "LFO2 Wave", 1),
    LfoRate(43, "LFO2 Rate", 1),
    LfoSyncRate(44, "LFO2 Sync Rate", 1),
    LfoSync(45, "LFO2 Sync", 1),
    LfoRestart(46, "LFO2 Restart", 1),

    Float(47, "LFO3 Phase", "PHASE", offsetof(SynthProgram, lfo3Phase), 0, 100, 0),
    Float(48, "LFO3 PM", "PM", offsetof(SynthProgram, lfo3Pm), 0, 100, 0),
    Float(49, "LFO3 Mod1", "MOD1", offsetof(SynthProgram, lfo3Mod1), 0, 100, 0),
    Float(50, "LFO3 Mod2", "MOD2", offsetof(SynthProgram, lfo3Mod2), 0, 100, 0),
    LfoWave(51, "LFO3 Wave", 2),
    LfoRate(52, "LFO3 Rate", 2),
    LfoSyncRate(53, "LFO3 Sync Rate", 2),
    LfoSync(54, "LFO3 Sync", 2),
    LfoRestart(55, "LFO3 Restart", 2),

    Float(56, "Env Phase", "PHASE", offsetof(SynthProgram, e3Phase), 0, 100, 0),
    Float(57, "Env PM", "PM", offsetof(SynthProgram, e3Pm), 0, 100, 0),
    Float(58, "Env Mod1", "MOD1", offsetof(SynthProgram, e3Mod1), 0, 100, 0),
    Float(59, "Env Mod2", "MOD2", offsetof(SynthProgram, e3Mod2), 0, 100, 0),
    Attack(60, "Env Attack", kModEnvelope),
    Decay(61, "Env Decay", kModEnvelope),
    Sustain(62, "Env Sustain", kModEnvelope),
    Release(63, "Env Release", kModEnvelope),

    Float(64, "Velocity Volume", "VOLUME", offsetof(SynthProgram, velVolume), 0, 100, 0),
    Float(65, "Velocity Pan", "PAN", offsetof(SynthProgram, velPan), 0, 100, 0),
    Float(66, "Velocity Cutoff", "CUTOFF", offsetof(SynthProgram, velCutoff), 0, 100, 0),
    Float(67, "Velocity Q", "Q", offsetof(SynthProgram, velQ), 0, 100, 0),
    Float(68, "Velocity Phase", "PHASE", offsetof(SynthProgram, velPhase), 0, 100, 0),
    Float(69, "Velocity PM", "PM", offsetof(SynthProgram, velPm), 0, 100, 0),
    Float(70, "Velocity Mod1", "MOD1", offsetof(SynthProgram, velMod1), 0, 100, 0),
    Float(71, "Velocity Mod2", "MOD2", offsetof(SynthProgram, velMod2), 0, 100, 0),
    Float(72, "Velocity Detune", "DETUNE", offsetof(SynthProgram, velDetune), 0, 100, 0),
    Float(73, "Velocity Noise", "NOISE", offsetof(SynthProgram, velNoise), 0, 100, 0),
    Float(74, "Velocity Mix", "MIX", offsetof(SynthProgram, velMix), 0, 100, 0),

    Float(75, "Random Volume", "VOLUME", offsetof(SynthProgram, rndVolume), 0, 100, 0),
    Float(76, "Random Pan", "PAN", offsetof(SynthProgram, rndPan), 0, 100, 0),
    Float(77, "Random Cutoff", "CUTOFF", offsetof(SynthProgram, rndCutoff), 0, 100, 0),
    Float(78, "Random Q", "Q", offsetof(SynthProgram, rndQ), 0, 100, 0),
    Float(79, "Random Phase", "PHASE", offsetof(SynthProgram, rndPhase), 0, 100, 0),
    Float(80, "Random PM", "PM", offsetof(SynthProgram, rndPm), 0, 100, 0),
    Float(81, "Random Mod1", "MOD1", offsetof(SynthProgram, rndMod1), 0, 100, 0),
    Float(82, "Random Mod2", "MOD2", offsetof(SynthProgram, rndMod2), 0, 100, 0),
    Float(83, "Random Detune", "DETUNE", offsetof(SynthProgram, rndDetune), 0, 100, 0),
    Float(84, "Random Noise", "NOISE", offsetof(SynthProgram, rndNoise), 0, 100, 0),
    Float(85, "Random Mix", "MIX", offsetof(SynthProgram, rndMix), 0, 100, 0),

    Float(86, "Mod Wheel LFO1 Depth", "LFO1DEPTH", offsetof(SynthProgram, mwLfo1Depth), 0, 100, 0),
    Float(87, "Mod Wheel Cutoff", "CUTOFF", offsetof(SynthProgram, mwCutoff), 0, 100, 0),
    Float(88, "Mod Wheel PM", "PM", offsetof(SynthProgram, mwPm), 0, 100, 0),
    Float(89, "Key Tracking Cutoff", "CUTOFF", offsetof(SynthProgram, keyCutoff), -100, 100, 0),
    Float(90, "Key Tracking PM", "PM", offsetof(SynthProgram, keyPm), -100, 100, 0),
    Int(91, "Pitch Bend Down", "DOWN", offsetof(SynthProgram, bendDown), 0, 12, 2, "st"),
    Int(92, "Pitch Bend Up", "UP", offsetof(SynthProgram, bendUp), 0, 12, 2, "st"),

    Float(93, "FX Chorus", "CHORUS", offsetof(SynthProgram, fxChorus), 0, 100, 0),
    Float(94, "FX Phaser", "PHASER", offsetof(SynthProgram, fxPhaser), 0, 100, 0),
    Float(95, "FX Delay", "DELAY", offsetof(SynthProgram, fxDelay), 0, 100, 0),
    Float(96, "FX Reverb", "REVERB", offsetof(SynthProgram, fxReverb), 0, 100, 0),
    Float(97, "FX Waveshape", "WAVESHAPE", offsetof(SynthProgram, fxWaveshape), 0, 100, 0),
    Float(98, "FX EQ", "EQ", offsetof(SynthProgram, fxEq), 0, 100, 0),

    // The effect settings keep their stored units: tenths of a hertz,
    // hundredths of a hertz, units of 20 Hz, tenths of a second.
    Int(99, "Chorus Delay", "DELAY", offsetof(SynthProgram, chorusDelay), 1, 150, 20, "ms"),
    Float(100, "Chorus Depth", "DEPTH", offsetof(SynthProgram, chorusDepth), 0, 100, 10),
    Shown(Int(101, "Chorus Rate", "RATE", offsetof(SynthProgram, chorusRate), 1, 100, 16), "Hz", 0.1, 1),
    Int(102, "Chorus Phase", "PHASE", offsetof(SynthProgram, chorusPhase), 0, 180, 90),
    Float(103, "Chorus Feedback", "FEEDBACK", offsetof(SynthProgram, chorusFeedback), -100, 100, 0),

    Shown(Float(104, "Phaser Rate", "RATE", offsetof(SynthProgram, phaserRate), 1, 100, 10), "Hz", 0.01, 2),
    Float(105, "Phaser Feedback", "FEEDBACk", offsetof(SynthProgram, phaserFeedback), -100, 100, 50),
    Int(106, "Phaser Stages", "STAGES", offsetof(SynthProgram, phaserStages), 1, 16, 4),
    Shown(Int(107, "Phaser Low", "LOW", offsetof(SynthProgram, phaserLow), 1, 1000, 200), "Hz", 20.0),
    Shown(Int(108, "Phaser High", "HIGH", offsetof(SynthProgram, phaserHigh), 1, 1000, 500), "Hz", 20.0),

    Float(109, "Delay Feedback", "FEEDBACK", offsetof(SynthProgram, delayFeedback), 0, 100, 50),
    Beats(110, "Delay Time", "TIME", offsetof(SynthProgram, delayBeats), offsetof(SynthProgram, delayDiv)),
    Float(111, "Delay L/R", "L/R", offsetof(SynthProgram, delayLR), 0, 100, 100),

    Shown(Int(112, "Reverb Size", "SIZE", offsetof(SynthProgram, reverbSize), 10, 100, 40), "ms", 100.0),

    Float(113, "Waveshape Foldback", "FOLDBACK", offsetof(SynthProgram, foldback), 0, 100, 50),

    Shown(Int(114, "EQ Freq Low", "FREQ LOW", offsetof(SynthProgram, eqFreqLow), 1, 100, 40), "Hz", 20.0),
    Shown(Int(115, "EQ Freq High", "FREQ HIGH", offsetof(SynthProgram, eqFreqHigh), 40, 500, 100), "Hz", 20.0),
    // Gains in percent, shown as the change from unity.
    Shown(Int(116, "EQ Gain", "GAIN", offsetof(SynthProgram, eqGain), 0, 200, 100), "%", 1.0, 0, -100),
    Shown(Int(117, "EQ Low", "LOW", offsetof(SynthProgram, eqLow), 0, 200, 100), "%", 1.0, 0, -100),
    Shown(Int(118, "EQ Mid", "MID", offsetof(SynthProgram, eqMid), 0, 200, 100), "%", 1.0, 0, -100),
    Shown(Int(119, "EQ High", "HIGH", offsetof(SynthProgram, eqHigh), 0, 200, 100), "%", 1.0, 0, -100),
};

namespace
{

constexpr bool NumberedInOrder()
{
    for (int32_t i = 0; i < kParameterTableSize; ++i)
        if (kParameters[i].id != i || kParameters[i].name == nullptr)
            return false;
    return true;
}

// Also fails when an entry is missing: the array's tail would be zeros.
static_assert(NumberedInOrder(), "every entry carries its index");

float& FloatField(SynthProgram& program, size_t offset)
{
    return *reinterpret_cast<float*>(reinterpret_cast<char*>(&program) + offset);
}

int32_t& IntField(SynthProgram& program, size_t offset)
{
    return *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(&program) + offset);
}

float FloatField(const SynthProgram& program, size_t offset)
{
    return *reinterpret_cast<const float*>(reinterpret_cast<const char*>(&program) + offset);
}

int32_t IntField(const SynthProgram& program, size_t offset)
{
    return *reinterpret_cast<const int32_t*>(reinterpret_cast<const char*>(&program) + offset);
}

void StoreKnobValue(SynthProgram& program, const ParameterInfo& info, int32_t value)
{
    if (info.kind == ParameterKind::Float)
        FloatField(program, info.offset) = static_cast<float>(value / static_cast<double>(kKnobScale));
    else
        IntField(program, info.offset) = value;
}

bool SameIgnoringCase(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipSpaces(const char* text, const char* end)
{
    while (text < end && IsSpace(*text))
        ++text;
    return text;
}

// text without its leading and trailing spaces: [begin, end).
void Trim(const char* text, const char*& begin, const char*& end)
{
    end = text + std::strlen(text);
    begin = SkipSpaces(text, end);
    while (end > begin && IsSpace(end[-1]))
        --end;
}

int32_t ChoiceIndex(const ParameterInfo& info, const char* begin, const char* end)
{
    const size_t length = static_cast<size_t>(end - begin);
    for (int32_t v = info.minimum; v <= info.maximum; ++v)
    {
        const char* choice = info.choices[v - info.minimum];
        if (std::strlen(choice) == length && SameIgnoringCase(choice, begin, length))
            return v;
    }
    return -1;
}

// A number in display units, rounded to the knob's step, then what may follow
// it: the unit, or a beat count's current division.
bool ReadKnobNumber(const SynthProgram& program, const ParameterInfo& info, const char* begin, const char* end,
                    int32_t& value)
{
    char* after = nullptr;
    const double number = std::strtod(begin, &after);
    if (after == begin || after > end || !std::isfinite(number))
        return false;
    const char* rest = SkipSpaces(after, end);
    const size_t unitLength = std::strlen(info.unit);
    if (info.kind == ParameterKind::Beats && rest < end && *rest == '/')
    {
        char* divisionEnd = nullptr;
        const long division = std::strtol(rest + 1, &divisionEnd, 10);
        if (divisionEnd == rest + 1 || divisionEnd > end || division != IntField(program, info.divisionOffset))
            return false;
        rest = SkipSpaces(divisionEnd, end);
    }
    else if (unitLength > 0 && static_cast<size_t>(end - rest) == unitLength &&
             SameIgnoringCase(rest, info.unit, unitLength))
    {
        rest = end;
    }
    if (rest != end)
        return false;
    value = RoundToKnob(number / info.displayStep) - info.displayShift;
    return true;
}

}  // namespace

const ParameterInfo* FindParameter(int32_t index)
{
    if (index < 0 || index >= kParameterTableSize)
        return nullptr;
    return &kParameters[index];
}

int32_t FindParameterByName(const char* name)
{
    if (name == nullptr)
        return -1;
    const size_t length = std::strlen(name);
    int32_t loose = -1;
    for (const ParameterInfo& info : kParameters)
    {
        if (std::strcmp(info.name, name) == 0)
            return info.id;
        if (loose < 0 && std::strlen(info.name) == length && SameIgnoringCase(info.name, name, length))
            loose = info.id;
    }
    return loose;
}

// Halves away from zero: a stored 0.53 is 52.999996 x 100 and reads 53.
int32_t RoundToKnob(double v)
{
    if (std::isnan(v))
        return 0;
    v = v < 0.0 ? v - 0.5 : v + 0.5;
    if (v > kKnobLimit)
        return static_cast<int32_t>(kKnobLimit);
    if (v < -kKnobLimit)
        return -static_cast<int32_t>(kKnobLimit);
    return static_cast<int32_t>(v);
}

int32_t KnobValue(const SynthProgram& program, const ParameterInfo& info)
{
    if (info.kind == ParameterKind::Float)
        return RoundToKnob(static_cast<double>(FloatField(program, info.offset) * kKnobScale));
    return IntField(program, info.offset);
}

float NormalizedValue(const SynthProgram& program, const ParameterInfo& info)
{
    const double value = info.kind == ParameterKind::Float
                             ? static_cast<double>(FloatField(program, info.offset) * kKnobScale)
                             : static_cast<double>(IntField(program, info.offset));
    const double position = (value - info.minimum) / (info.maximum - info.minimum);
    if (!(position > 0.0))
        return 0.0f;
    return position < 1.0 ? static_cast<float>(position) : 1.0f;
}

void SetNormalizedValue(SynthProgram& program, const ParameterInfo& info, float normalized)
{
    const double position = normalized > 0.0f ? (normalized < 1.0f ? normalized : 1.0) : 0.0;
    StoreKnobValue(program, info, info.minimum + RoundToKnob(position * (info.maximum - info.minimum)));
}

void ValueText(const SynthProgram& program, const ParameterInfo& info, char* text, size_t size)
{
    if (size == 0)
        return;
    const int32_t value = KnobValue(program, info);
    switch (info.kind)
    {
    case ParameterKind::Switch:
    case ParameterKind::List:
        // A damaged value has no name; the knob shows nothing either.
        std::snprintf(text, size, "%s",
                      value >= info.minimum && value <= info.maximum ? info.choices[value - info.minimum] : "");
        break;
    case ParameterKind::Beats:
        std::snprintf(text, size, "%d/%d", static_cast<int>(value),
                      static_cast<int>(IntField(program, info.divisionOffset)));
        break;
    default:
        std::snprintf(text, size, "%s", DisplayedNumber(info, value).c_str());
        break;
    }
}

std::string DisplayedNumber(const ParameterInfo& info, int32_t value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", static_cast<int>(info.displayDecimals),
                  (static_cast<double>(value) + info.displayShift) * info.displayStep);
    return text;
}

bool SetValueFromText(SynthProgram& program, const ParameterInfo& info, const char* text)
{
    if (text == nullptr)
        return false;
    const char* begin = nullptr;
    const char* end = nullptr;
    Trim(text, begin, end);
    if (begin == end)
        return false;
    int32_t value = info.choices != nullptr ? ChoiceIndex(info, begin, end) : -1;
    if (value < 0 && !ReadKnobNumber(program, info, begin, end, value))
        return false;
    if (value < info.minimum || value > info.maximum)
        return false;
    StoreKnobValue(program, info, value);
    return true;
}

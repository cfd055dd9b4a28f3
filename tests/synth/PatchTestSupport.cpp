#include "PatchTestSupport.h"

#include "io/ByteOrder.h"

#include <cstring>

namespace PatchTest {

CByteBuilder& CByteBuilder::U32(uint32_t value)
{
    uint8_t word[4];
    StoreU32LE(word, value);
    bytes.insert(bytes.end(), word, word + 4);
    return *this;
}

CByteBuilder& CByteBuilder::F32(float value)
{
    return U32(FloatBits(value));
}

CByteBuilder& CByteBuilder::Text(const std::string& text)
{
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
}

CByteBuilder& CByteBuilder::Section(const std::string& tag, uint32_t size)
{
    return Text(tag).U32(size);
}

CByteBuilder& CByteBuilder::Raw(const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

SynthProgram DefaultProgram(const char* name)
{
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    SetProgramName(program, name);
    return program;
}

SynthProgram MarkedProgram(const char* name)
{
    SynthProgram program = DefaultProgram(name);
    // Word k of the record (after the name) gets 1000 + k, as an integer or a
    // float by the field's type, walking the fields in record order.
    auto setInt = [](int32_t& field, int32_t base) { field = 1000 + base; };
    auto setFloat = [](float& field, int32_t base) { field = 1000.0f + static_cast<float>(base); };
    int k = 0;
    setFloat(program.volume, k++);
    setFloat(program.pan, k++);
    setInt(program.mono, k++);
    setInt(program.legato, k++);
    setInt(program.coarse, k++);
    setFloat(program.glide, k++);
    setInt(program.glideLegatoOnly, k++);
    setInt(program.wave1, k++);
    setInt(program.wave2, k++);
    setFloat(program.mod1, k++);
    setFloat(program.mod2, k++);
    program.ratio1 = 0.125f;
    program.ratio2 = 8.0f;
    k += 2;
    for (float* f : {&program.noise, &program.phase})
        setFloat(*f, k++);
    setInt(program.coarse2, k++);
    for (float* f : {&program.detune, &program.mix, &program.pmAmount, &program.pmShape})
        setFloat(*f, k++);
    setInt(program.pmRatio, k++);
    for (float* f : {&program.feedback, &program.feedbackShape, &program.velVolume, &program.velPan,
                     &program.velCutoff, &program.velQ, &program.velPm, &program.velMod1, &program.velMod2,
                     &program.velNoise, &program.velPhase, &program.velDetune, &program.velMix, &program.keyAux,
                     &program.keyCutoff, &program.keyPm})
        setFloat(*f, k++);
    setInt(program.filterType, k++);
    for (float* f : {&program.cutoff, &program.q, &program.blend})
        setFloat(*f, k++);
    setInt(program.filterScale, k++);
    setFloat(program.filterEnv, k++);
    for (SynthLfo& lfo : program.lfo)
    {
        setInt(lfo.wave, k++);
        setInt(lfo.restart, k++);
        setInt(lfo.sync, k++);
        setFloat(lfo.rate, k++);
        setInt(lfo.syncBeats, k++);
        setInt(lfo.syncDiv, k++);
    }
    for (float* f : {&program.lfo1Vibrato, &program.lfo1Tremolo, &program.lfo1Noise, &program.lfo1Mix,
                     &program.lfo2Volume, &program.lfo2Pan, &program.lfo2Cutoff, &program.lfo2Q, &program.lfo3Phase,
                     &program.lfo3Pm, &program.lfo3Mod1, &program.lfo3Mod2, &program.mwLfo1Depth,
                     &program.mwCutoff, &program.mwPm})
        setFloat(*f, k++);
    for (SynthEnvelope& env : program.env)
    {
        for (float* f : {&env.attack, &env.decay, &env.sustain, &env.release})
            setFloat(*f, k++);
    }
    for (float* f : {&program.e3Pm, &program.e3Phase, &program.e3Mod1, &program.e3Mod2, &program.fxChorus,
                     &program.fxPhaser, &program.fxWaveshape, &program.fxEq, &program.fxDelay, &program.fxReverb})
        setFloat(*f, k++);
    setInt(program.bendDown, k++);
    setInt(program.bendUp, k++);
    for (float* f : {&program.rndMix, &program.rndNoise, &program.rndDetune, &program.rndAux, &program.rndVolume,
                     &program.rndPan, &program.rndCutoff, &program.rndQ, &program.rndPhase, &program.rndPm,
                     &program.rndMod1, &program.rndMod2})
        setFloat(*f, k++);
    setInt(program.chorusDelay, k++);
    setInt(program.chorusPhase, k++);
    setInt(program.chorusRate, k++);
    setFloat(program.chorusDepth, k++);
    setFloat(program.chorusFeedback, k++);
    setFloat(program.delayFeedback, k++);
    setFloat(program.delayLR, k++);
    for (int32_t* i : {&program.delayBeats, &program.delayDiv, &program.reverbSize, &program.reverbPreDelay})
        setInt(*i, k++);
    setFloat(program.phaserRate, k++);
    setFloat(program.phaserFeedback, k++);
    for (int32_t* i : {&program.phaserPhase, &program.phaserStages, &program.phaserLow, &program.phaserHigh})
        setInt(*i, k++);
    setFloat(program.foldback, k++);
    for (int32_t* i : {&program.eqLow, &program.eqMid, &program.eqHigh, &program.eqFreqLow, &program.eqFreqHigh,
                       &program.eqGain})
        setInt(*i, k++);
    return program;
}

std::vector<std::string> DifferentFields(const SynthProgram& a, const SynthProgram& b)
{
    std::vector<std::string> fields;
    if (std::memcmp(a.name, b.name, sizeof a.name) != 0)
        fields.push_back("name");
    const uint8_t* wordsA = reinterpret_cast<const uint8_t*>(&a) + SynthProgram::kNameBytes;
    const uint8_t* wordsB = reinterpret_cast<const uint8_t*>(&b) + SynthProgram::kNameBytes;
    for (size_t k = 0; k < (sizeof a - SynthProgram::kNameBytes) / 4; ++k)
    {
        if (std::memcmp(wordsA + 4 * k, wordsB + 4 * k, 4) != 0)
            fields.push_back("word " + std::to_string(k));
    }
    return fields;
}

Bytes StreamBytes(CMemoryStream& stream)
{
    const uint8_t* data = stream.Data();
    return data ? Bytes(data, data + stream.Size()) : Bytes();
}

void Fill(CMemoryStream& stream, const Bytes& bytes)
{
    stream.SetSize(0);
    stream.Seek(0, CStream::FromStart);
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, CStream::FromStart);
}

}  // namespace PatchTest

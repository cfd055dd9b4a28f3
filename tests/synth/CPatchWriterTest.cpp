#include "PatchTestSupport.h"

#include "io/CMemoryStream.h"
#include "synth/CPatchWriter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace PatchTest;

namespace
{

// The stored layout of one program written out by hand, section by section.
Bytes ExpectedProgram(const SynthProgram& p, bool factory)
{
    const std::string name = p.name;
    const auto ratio = [factory](float r) { return factory ? 0.0f : r; };
    CByteBuilder b;
    b.Section("pp", static_cast<uint32_t>(name.size()) + 20).Text(name).U32(0).U32(0).U32(0).U32(0);
    b.Section("master", 8).F32(p.volume).F32(p.pan).U32(p.coarse).U32(p.mono).U32(p.legato).U32(0).U32(0).U32(0);
    b.Section("wave", 64).U32(p.wave1).F32(p.mod1).U32(p.wave2).F32(p.mod2).U32(p.coarse2).F32(p.detune);
    b.F32(p.mix).F32(p.phase).F32(ratio(p.ratio1)).F32(ratio(p.ratio2));
    for (int i = 0; i < 6; ++i)
        b.U32(0);
    b.Section("xmod", 64).F32(p.pmAmount).F32(p.pmShape).U32(p.pmRatio).F32(p.feedback).F32(p.feedbackShape);
    b.F32(p.noise);
    for (int i = 0; i < 10; ++i)
        b.U32(0);
    b.Section("filter", 32).U32(p.filterType).F32(p.cutoff).F32(p.q).F32(p.blend).U32(0).U32(0).U32(0).U32(0);
    if (!factory)
        b.Section("fscale", 8).F32(p.filterEnv).U32(p.filterScale);
    b.Section("pb", 8).U32(p.bendDown).U32(p.bendUp);
    b.Section("fx", 32).F32(p.fxChorus).F32(p.fxPhaser).F32(p.fxDelay).F32(p.fxReverb).F32(p.fxWaveshape);
    b.F32(p.fxEq).U32(0).U32(0);
    b.Section("env", 68).U32(4);
    for (const SynthEnvelope& e : p.env)
        b.F32(e.attack).F32(e.decay).F32(e.sustain).F32(e.release);
    b.Section("e3", 16).F32(p.e3Pm).F32(p.e3Phase).F32(p.e3Mod1).F32(p.e3Mod2);
    b.Section("lfo", 132).U32(4);
    for (const SynthLfo& l : p.lfo)
        b.U32(l.wave).U32(l.restart).U32(l.sync).F32(l.rate).U32(l.syncBeats).U32(l.syncDiv).U32(0).U32(0);
    b.Section("lfo1", 32).F32(p.lfo1Tremolo).F32(p.lfo1Vibrato);
    for (int i = 0; i < 6; ++i)
        b.U32(0);
    b.Section("lfo2", 32).F32(p.lfo2Volume).F32(p.lfo2Pan).F32(p.lfo2Cutoff).F32(p.lfo2Q).U32(0).U32(0).U32(0).U32(0);
    b.Section("lfo3", 32).F32(p.lfo3Phase).F32(p.lfo3Pm).F32(p.lfo3Mod1).F32(p.lfo3Mod2).U32(0).U32(0).U32(0).U32(0);
    b.Section("vel", 64).F32(p.velVolume).F32(p.velPan).F32(p.velCutoff).F32(p.velQ).U32(0).F32(p.velPm);
    b.F32(p.velMod1).F32(p.velMod2).F32(p.velPhase).F32(p.velDetune).F32(p.velNoise).F32(p.velMix);
    b.U32(0).U32(0).U32(0).U32(0);
    b.Section("key", 32).F32(p.keyAux).F32(p.keyCutoff).F32(p.keyPm).U32(0).U32(0).U32(0).U32(0).U32(0);
    b.Section("rnd", 64).F32(p.rndVolume).F32(p.rndPan).F32(p.rndCutoff).F32(p.rndQ).U32(0).F32(p.rndPm);
    b.F32(p.rndMod1).F32(p.rndMod2).F32(p.rndPhase).F32(p.rndDetune).F32(p.rndNoise).F32(p.rndMix).F32(p.rndAux);
    b.U32(0).U32(0).U32(0);
    b.Section("mw", 32).F32(p.mwLfo1Depth).F32(p.mwCutoff).F32(p.mwPm).U32(0).U32(0).U32(0).U32(0).U32(0);
    b.Section("chorus", 32).U32(p.chorusDelay).F32(p.chorusDepth).U32(p.chorusRate).U32(p.chorusPhase);
    b.F32(p.chorusFeedback).U32(0).U32(0).U32(0);
    b.Section("delay", 16).F32(p.delayFeedback).U32(p.delayBeats).U32(p.delayDiv).F32(p.delayLR);
    b.Section("reverb", 16).U32(p.reverbPreDelay).U32(p.reverbSize).U32(0).U32(0);
    b.Section("waveshape", 16).F32(p.foldback).U32(0).U32(0).U32(0);
    b.Section("phaser", 32).F32(p.phaserRate).F32(p.phaserFeedback).U32(p.phaserPhase).U32(p.phaserStages);
    b.U32(p.phaserLow).U32(p.phaserHigh).U32(0).U32(0);
    return b.Get();
}

Bytes Write(const SynthProgram& program, CPatchWriter::Layout layout = CPatchWriter::Layout::Host)
{
    CMemoryStream stream;
    CPatchWriter writer(stream, layout);
    writer.WriteProgram(program);
    return StreamBytes(stream);
}

}  // namespace

// The name is stored at its own length: 1155 bytes plus that.
TEST(CPatchWriter, EveryFieldLandsInItsWordWhateverTheNameLength)
{
    for (const char* name : {"", "2 OSC Bass", "A name of exactly 31 characters"})
    {
        const SynthProgram program = MarkedProgram(name);
        const Bytes written = Write(program);
        EXPECT_EQ(written.size(), 1155u + std::strlen(name));
        EXPECT_EQ(written, ExpectedProgram(program, false)) << name;
    }
}

TEST(CPatchWriter, FactoryLayoutDropsFilterScaleAndStoresRatiosAsZero)
{
    const SynthProgram program = MarkedProgram("90s Bass");
    const Bytes written = Write(program, CPatchWriter::Layout::Factory);
    EXPECT_EQ(written.size(), 1133u + 8);
    EXPECT_EQ(written, ExpectedProgram(program, true));
}

TEST(CPatchWriter, CurrentIndexSectionIs16BytesWrittenAtTheCurrentPosition)
{
    CMemoryStream stream;
    const uint8_t lead[3] = {9, 8, 7};
    stream.Write(lead, 3);
    CPatchWriter(stream).WriteCurrentIndex(37);
    EXPECT_EQ(StreamBytes(stream), CByteBuilder().Raw({9, 8, 7}).Section("prog", 4).U32(37).Get());
}

#include "synth/CPatchWriter.h"

#include "io/ByteOrder.h"
#include "synth/CMidiLearn.h"
#include "io/CStream.h"
#include "synth/PatchSections.h"

#include <cstring>

namespace
{

class CWordWriter : public CPatchWordVisitor
{
public:
    explicit CWordWriter(CStream& s) : stream(s) {}
    void Int(const char*, int32_t& field) override { WriteI32(stream, field); }
    void Float(const char*, float& field) override { WriteF32(stream, field); }
    void Zero() override { WriteU32(stream, 0); }

private:
    CStream& stream;
};

uint32_t NameLength(const SynthProgram& program)
{
    uint32_t n = 0;
    while (n < static_cast<uint32_t>(SynthProgram::kMaxNameChars) && program.name[n])
        ++n;
    return n;
}

}  // namespace

CPatchWriter::CPatchWriter(CStream& s, Layout l) : stream(s), layout(l)
{
}

void CPatchWriter::WriteString(const char* text, uint32_t length)
{
    WriteU32(stream, length);
    stream.Write(text, static_cast<int32_t>(length));
}

void CPatchWriter::WriteSectionHeader(const char* tag, uint32_t size)
{
    WriteString(tag, static_cast<uint32_t>(std::strlen(tag)));
    WriteU32(stream, size);
}

void CPatchWriter::WriteProgram(const SynthProgram& program)
{
    SynthProgram words = program;
    if (layout == Layout::Factory)
    {
        // The compiled-in bank has always held 0.0 here; loading turns it into 1.0.
        words.ratio1 = 0.0f;
        words.ratio2 = 0.0f;
    }

    const uint32_t nameLength = NameLength(words);
    WriteSectionHeader(PatchFormat::kProgramTag, nameLength + PatchFormat::kProgramSizeBase);
    WriteString(words.name, nameLength);
    for (int i = 0; i < PatchFormat::kProgramHeaderZeroWords; ++i)
        WriteU32(stream, 0);

    CWordWriter writer(stream);
    for (const PatchSection& section : PatchFormat::kSections)
    {
        if (layout == Layout::Factory && std::strcmp(section.tag, PatchFormat::kFilterScaleTag) == 0)
            continue;
        WriteSectionHeader(section.tag, section.sizeField);
        if (section.kind == PatchSection::Fixed)
        {
            section.visit(words, 0, writer);
            continue;
        }
        WriteU32(stream, PatchFormat::kCountedEntries);
        for (uint32_t i = 0; i < PatchFormat::kCountedEntries; ++i)
            section.visit(words, static_cast<int>(i), writer);
    }
}

void CPatchWriter::WriteControllerMap(const CMidiLearn& learn)
{
    const int32_t count = learn.BindingCount();
    if (count == 0)
        return;
    WriteSectionHeader(PatchFormat::kControllerMapTag,
                       4 + PatchFormat::kControllerMapEntryBytes * static_cast<uint32_t>(count));
    WriteI32(stream, count);
    for (int32_t controller = 0; controller < CMidiLearn::kControllers; ++controller)
    {
        const int32_t parameter = learn.ParameterOf(controller);
        if (parameter == CMidiLearn::kNone)
            continue;
        WriteI32(stream, controller);
        WriteI32(stream, parameter);
    }
}

void CPatchWriter::WriteCurrentIndex(int32_t index)
{
    WriteSectionHeader(PatchFormat::kCurrentIndexTag, PatchFormat::kCurrentIndexSize);
    WriteI32(stream, index);
}

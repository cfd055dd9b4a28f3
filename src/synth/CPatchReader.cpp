#include "synth/CPatchReader.h"

#include "io/ByteOrder.h"
#include "io/CStream.h"
#include "synth/CMidiLearn.h"
#include "synth/CSynth.h"
#include "synth/ParameterTable.h"

#include <cstring>

namespace
{

// Reads words into one record; once the stream runs dry every further field
// gets its default, so a cut-off section never leaves stale values behind.
class CWordReader : public CPatchWordVisitor
{
public:
    CWordReader(CStream& s, const SynthProgram& d) : stream(s), defaults(d) {}

    void Bind(SynthProgram& record) { target = &record; }
    bool Exhausted() const { return exhausted; }

    void Int(const char*, int32_t& field) override
    {
        if (exhausted || !ReadI32(stream, field))
            TakeDefault(&field);
    }

    void Float(const char*, float& field) override
    {
        if (exhausted || !ReadF32(stream, field))
            TakeDefault(&field);
    }

    void Zero() override
    {
        uint32_t ignored;
        if (!exhausted && !ReadU32(stream, ignored))
            exhausted = true;
    }

private:
    void TakeDefault(void* field)
    {
        exhausted = true;
        const size_t offset =
            static_cast<size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(target));
        std::memcpy(field, reinterpret_cast<const char*>(&defaults) + offset, 4);
    }

    CStream& stream;
    const SynthProgram& defaults;
    SynthProgram* target = nullptr;
    bool exhausted = false;
};

bool TagIs(const char* tag, const char* known)
{
    return std::strcmp(tag, known) == 0;
}

}  // namespace

CPatchReader::CPatchReader(CSynth& s, CStream& st, bool preset) : synth(s), stream(st), isPreset(preset)
{
    std::memset(&defaults, 0, sizeof defaults);
    InitProgram(defaults);
    std::memset(&scratch, 0, sizeof scratch);
    end = stream.Size();
}

int64_t CPatchReader::Remaining()
{
    return static_cast<int64_t>(end) - stream.Tell();
}

bool CPatchReader::Skip(uint32_t n)
{
    if (static_cast<int64_t>(n) > Remaining())
    {
        stream.Seek(end, CStream::FromStart);
        return false;
    }
    stream.Seek(static_cast<int32_t>(n), CStream::FromCurrent);
    return true;
}

SynthProgram& CPatchReader::Target()
{
    if (!target)
        target = synth.currentProgram;
    return *target;
}

CPatchReader::TagResult CPatchReader::ReadTag(char (&tag)[PatchFormat::kMaxTagLength + 1])
{
    std::memset(tag, 0, sizeof tag);
    uint32_t length;
    if (!ReadU32(stream, length))
        return TagResult::End;
    // A negative length stands for the empty string.
    if (static_cast<int32_t>(length) < 0)
        return TagResult::Read;
    if (length > static_cast<uint32_t>(PatchFormat::kMaxTagLength))
        return Skip(length) ? TagResult::Skipped : TagResult::End;
    const int32_t n = static_cast<int32_t>(length);
    if (stream.Read(tag, n) != n)
        return TagResult::End;
    // An embedded zero must not let "pp\0x" pass for "pp".
    if (std::strlen(tag) != length)
        return TagResult::Skipped;
    return TagResult::Read;
}

void CPatchReader::ReadProgramHeader()
{
    if (isPreset || bankPosition + 1 > CSynth::kProgramCount - 1)
    {
        target = synth.currentProgram;
    }
    else
    {
        ++bankPosition;
        target = &synth.programs[bankPosition];
    }
    std::memset(target, 0, sizeof *target);
    InitProgram(*target);

    uint32_t length;
    if (!ReadU32(stream, length))
        return;
    if (static_cast<int32_t>(length) > 0)
    {
        // Only the first 31 characters fit; a short read leaves the rest zero.
        char name[SynthProgram::kNameBytes] = {};
        const uint32_t kept = length < static_cast<uint32_t>(SynthProgram::kMaxNameChars)
                                  ? length
                                  : static_cast<uint32_t>(SynthProgram::kMaxNameChars);
        stream.Read(name, static_cast<int32_t>(kept));
        ::SetProgramName(*target, name);
        if (!Skip(length - kept))
            return;
    }
    for (int i = 0; i < PatchFormat::kProgramHeaderZeroWords; ++i)
    {
        uint32_t ignored;
        if (!ReadU32(stream, ignored))
            return;
    }
}

void CPatchReader::ReadSection(const PatchSection& section, uint32_t size)
{
    if (section.checked && size != section.sizeField)
    {
        Skip(size);
        return;
    }
    SynthProgram& record = Target();
    CWordReader words(stream, defaults);
    words.Bind(record);
    if (section.kind == PatchSection::Fixed)
    {
        section.visit(record, 0, words);
        if (TagIs(section.tag, PatchFormat::kWaveTag))
        {
            if (!PatchFormat::IsAllowedRatio(record.ratio1))
                record.ratio1 = 1.0f;
            if (!PatchFormat::IsAllowedRatio(record.ratio2))
                record.ratio2 = 1.0f;
        }
        return;
    }

    const int kEntries = static_cast<int>(PatchFormat::kCountedEntries);
    uint32_t count = 0;
    const bool haveCount = ReadU32(stream, count);
    uint32_t i = 0;
    for (; haveCount && i < count && !words.Exhausted(); ++i)
    {
        if (i < PatchFormat::kCountedEntries)
        {
            section.visit(record, static_cast<int>(i), words);
        }
        else
        {
            // Entries the record has no room for are read and dropped.
            words.Bind(scratch);
            section.visit(scratch, 0, words);
        }
    }
    if (haveCount && !words.Exhausted())
        return;
    // The stream ended inside the section: the entries it did not reach get
    // their defaults.
    words.Bind(record);
    for (int k = static_cast<int>(i); k < kEntries; ++k)
        section.visit(record, k, words);
}

void CPatchReader::ReadControllerMap(uint32_t size)
{
    if (isPreset || size < 4)
    {
        Skip(size);
        return;
    }
    int32_t count;
    if (!ReadI32(stream, count))
        return;
    const uint32_t payload = size - 4;
    if (count < 0 || count > CMidiLearn::kControllers ||
        payload != static_cast<uint32_t>(count) * PatchFormat::kControllerMapEntryBytes)
    {
        Skip(payload);
        return;
    }
    CMidiLearn map;
    bool sound = true;
    for (int32_t i = 0; i < count; ++i)
    {
        int32_t controller;
        int32_t parameter;
        if (!ReadI32(stream, controller) || !ReadI32(stream, parameter))
            return;
        // Each side at most once, each value one we know.
        sound = sound && parameter < kParameterTableSize && map.ParameterOf(controller) == CMidiLearn::kNone &&
                map.ControllerOf(parameter) == CMidiLearn::kNone && map.Bind(controller, parameter);
    }
    if (!sound)
        return;
    synth.midiLearn.ForgetAll();
    for (int32_t controller = 0; controller < CMidiLearn::kControllers; ++controller)
    {
        if (map.ParameterOf(controller) != CMidiLearn::kNone)
            synth.midiLearn.Bind(controller, map.ParameterOf(controller));
    }
}

void CPatchReader::ReadCurrentIndex(uint32_t size)
{
    if (size != PatchFormat::kCurrentIndexSize)
    {
        Skip(size);
        return;
    }
    int32_t index;
    if (ReadI32(stream, index))
        synth.SetProgram(index);
}

void CPatchReader::Read()
{
    char tag[PatchFormat::kMaxTagLength + 1];
    // Every pass consumes at least the tag length and the size word, or ends
    // the loop, so any stream is read to its end in bounded time.
    while (stream.Tell() < end)
    {
        const TagResult result = ReadTag(tag);
        if (result == TagResult::End)
            break;
        uint32_t size;
        if (!ReadU32(stream, size))
            break;
        if (result == TagResult::Skipped)
        {
            Skip(size);
            continue;
        }
        if (TagIs(tag, PatchFormat::kProgramTag))
        {
            ReadProgramHeader();
            continue;
        }
        if (TagIs(tag, PatchFormat::kCurrentIndexTag))
        {
            ReadCurrentIndex(size);
            continue;
        }
        if (TagIs(tag, PatchFormat::kControllerMapTag))
        {
            ReadControllerMap(size);
            continue;
        }
        const PatchSection* known = nullptr;
        for (const PatchSection& section : PatchFormat::kSections)
        {
            if (TagIs(tag, section.tag))
                known = &section;
        }
        if (known)
            ReadSection(*known, size);
        else
            Skip(size);
    }
    synth.MarkProgramsChanged();
}

#include "synth/PatchCheck.h"

#include "io/ByteOrder.h"
#include "synth/CSynth.h"
#include "synth/PatchSections.h"

#include <cstring>

namespace
{

bool Fail(std::string& reason, const char* text)
{
    reason = text;
    return false;
}

// Counts the words a section's layout visits.
class CWordCounter : public CPatchWordVisitor
{
public:
    void Int(const char*, int32_t&) override { ++words; }
    void Float(const char*, float&) override { ++words; }
    void Zero() override { ++words; }
    uint64_t words = 0;
};

uint64_t LayoutBytes(const PatchSection& section)
{
    SynthProgram scratch{};
    CWordCounter counter;
    section.visit(scratch, 0, counter);
    return counter.words * 4;
}

const PatchSection* Known(const char* tag)
{
    for (const PatchSection& section : PatchFormat::kSections)
        if (std::strcmp(tag, section.tag) == 0)
            return &section;
    return nullptr;
}

}  // namespace

// The walk follows the reader: sections it reads by their fixed layout are
// measured by that layout (their size fields are not reliable), the others
// by their size field.
bool CheckPatchChunk(const uint8_t* data, size_t size, bool isPreset, std::string& reason)
{
    size_t pos = 0;
    int32_t programs = 0;
    while (pos < size)
    {
        if (size - pos < 4)
            return Fail(reason, "the program data ends inside a section");
        const uint32_t length = LoadU32LE(data + pos);
        pos += 4;
        if (length == 0 || length > static_cast<uint32_t>(PatchFormat::kMaxTagLength))
            return Fail(reason, "the program data holds a damaged section");
        if (size - pos < static_cast<size_t>(length) + 4)
            return Fail(reason, "the program data ends inside a section");
        char tag[PatchFormat::kMaxTagLength + 1] = {};
        std::memcpy(tag, data + pos, length);
        if (std::strlen(tag) != length)
            return Fail(reason, "the program data holds a damaged section");
        pos += length;
        const uint32_t sizeField = LoadU32LE(data + pos);
        pos += 4;
        const size_t left = size - pos;

        const bool isProgram = std::strcmp(tag, PatchFormat::kProgramTag) == 0;
        if (programs == 0 && !isProgram)
            return Fail(reason, "the program data does not start with a program");
        uint64_t payload = sizeField;
        if (isProgram)
        {
            ++programs;
            if (left < 4)
                return Fail(reason, "the program data ends inside a section");
            const uint32_t nameLength = LoadU32LE(data + pos);
            if (nameLength > left)
                return Fail(reason, "the program data holds a damaged program name");
            payload = 4 + static_cast<uint64_t>(nameLength) + 4 * PatchFormat::kProgramHeaderZeroWords;
        }
        else if (std::strcmp(tag, PatchFormat::kCurrentIndexTag) == 0)
        {
            if (sizeField != PatchFormat::kCurrentIndexSize || left < 4 ||
                LoadU32LE(data + pos) >= static_cast<uint32_t>(CSynth::kProgramCount))
                return Fail(reason, "the program data selects a program that does not exist");
        }
        else if (const PatchSection* section = Known(tag))
        {
            if (section->kind == PatchSection::Counted)
            {
                if (left < 4)
                    return Fail(reason, "the program data ends inside a section");
                payload = 4 + static_cast<uint64_t>(LoadU32LE(data + pos)) * LayoutBytes(*section);
            }
            else if (!section->checked || sizeField == section->sizeField)
            {
                payload = LayoutBytes(*section);
            }
        }
        if (payload > left)
            return Fail(reason, "the program data ends inside a section");
        pos += static_cast<size_t>(payload);
    }
    if (programs == 0)
        return Fail(reason, "the file holds no program");
    if (isPreset && programs != 1)
    {
        reason = "a program file must hold one program, this one holds " + std::to_string(programs);
        return false;
    }
    if (programs > CSynth::kProgramCount)
    {
        reason = "a bank holds at most 64 programs, this one holds " + std::to_string(programs);
        return false;
    }
    return true;
}

// velmora-bankgen <bank.txt> <out.cpp>: turns the factory bank's text source
// into the compiled-in patch-format block.
//
// The text holds one block per program, in bank order:
//   [2 OSC Bass]
//   coarse = 12
//   env[1].decay = 0.18
// Field names are the program record's; only fields that differ from their
// defaults are listed. '#' starts a comment line.
#include "io/CMemoryStream.h"
#include "synth/CPatchWriter.h"
#include "synth/PatchSections.h"
#include "synth/SynthProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{

constexpr int kBankPrograms = 64;

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool ParseInt(const std::string& text, int32_t& value)
{
    errno = 0;
    char* endPtr = nullptr;
    const long parsed = std::strtol(text.c_str(), &endPtr, 10);
    if (text.empty() || *endPtr != 0 || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool ParseFloat(const std::string& text, float& value)
{
    errno = 0;
    char* endPtr = nullptr;
    const float parsed = std::strtof(text.c_str(), &endPtr);
    if (text.empty() || *endPtr != 0 || errno != 0)
        return false;
    value = parsed;
    return true;
}

// Finds one stored field by its full name ("cutoff", "env[1].decay") and sets
// it from text.
class CFieldSetter : public CPatchWordVisitor
{
public:
    CFieldSetter(const std::string& n, const std::string& v) : name(n), value(v) {}

    void Int(const char* field, int32_t& target) override
    {
        if (Matches(field))
            parsed = ParseInt(value, target);
    }

    void Float(const char* field, float& target) override
    {
        if (Matches(field))
            parsed = ParseFloat(value, target);
    }

    void Zero() override {}

    void SetPrefix(const std::string& p) { prefix = p; }
    bool Found() const { return found; }
    bool Parsed() const { return parsed; }

private:
    bool Matches(const char* field)
    {
        if (prefix + field != name)
            return false;
        found = true;
        return true;
    }

    std::string name;
    std::string value;
    std::string prefix;
    bool found = false;
    bool parsed = false;
};

// Which stored fields the factory layout cannot carry: its programs have no
// "fscale" section and their ratios always load as 1.0.
bool FactoryCannotStore(const std::string& field)
{
    return field == "ratio1" || field == "ratio2" || field == "filterEnv" || field == "filterScale";
}

class CBankSource
{
public:
    bool Load(const char* path)
    {
        std::ifstream in(path);
        if (!in)
            return Fail(path, 0, "cannot open the file");
        std::string line;
        int lineNumber = 0;
        while (std::getline(in, line))
        {
            ++lineNumber;
            const std::string text = Trim(line);
            if (text.empty() || text[0] == '#')
                continue;
            if (!ParseLine(path, lineNumber, text))
                return false;
        }
        if (static_cast<int>(programs.size()) != kBankPrograms)
            return Fail(path, lineNumber, "the bank must hold 64 programs");
        return true;
    }

    const std::vector<SynthProgram>& Programs() const { return programs; }

private:
    bool ParseLine(const char* path, int lineNumber, const std::string& text)
    {
        if (text.front() == '[')
        {
            if (text.back() != ']')
                return Fail(path, lineNumber, "a program header is \"[name]\"");
            const std::string name = text.substr(1, text.size() - 2);
            if (name.empty() || name.size() > static_cast<size_t>(SynthProgram::kMaxNameChars))
                return Fail(path, lineNumber, "a program name has 1 to 31 characters");
            SynthProgram program;
            std::memset(&program, 0, sizeof program);
            InitProgram(program);
            SetProgramName(program, name.c_str());
            programs.push_back(program);
            return true;
        }
        const size_t equals = text.find('=');
        if (equals == std::string::npos)
            return Fail(path, lineNumber, "expected \"field = value\"");
        if (programs.empty())
            return Fail(path, lineNumber, "a field before the first program header");
        const std::string field = Trim(text.substr(0, equals));
        if (FactoryCannotStore(field))
            return Fail(path, lineNumber, "the factory bank does not store " + field);
        CFieldSetter setter(field, Trim(text.substr(equals + 1)));
        Visit(programs.back(), setter);
        if (!setter.Found())
            return Fail(path, lineNumber, "unknown field " + field);
        if (!setter.Parsed())
            return Fail(path, lineNumber, "bad value for " + field);
        return true;
    }

    static void Visit(SynthProgram& program, CFieldSetter& setter)
    {
        for (const PatchSection& section : PatchFormat::kSections)
        {
            if (section.kind == PatchSection::Fixed)
            {
                setter.SetPrefix("");
                section.visit(program, 0, setter);
                continue;
            }
            for (uint32_t i = 0; i < PatchFormat::kCountedEntries; ++i)
            {
                setter.SetPrefix(std::string(section.tag) + "[" + std::to_string(i) + "].");
                section.visit(program, static_cast<int>(i), setter);
            }
        }
    }

    static bool Fail(const char* path, int lineNumber, const std::string& message)
    {
        std::fprintf(stderr, "%s:%d: %s\n", path, lineNumber, message.c_str());
        return false;
    }

    std::vector<SynthProgram> programs;
};

bool WriteSource(const char* path, const uint8_t* bytes, int32_t size)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "// Generated by velmora-bankgen from FactoryBank.txt. Do not edit.\n");
    std::fprintf(out, "#include \"synth/FactoryBank.h\"\n\n");
    std::fprintf(out, "const int32_t kFactoryBankSize = %d;\n\n", static_cast<int>(size));
    std::fprintf(out, "const uint8_t kFactoryBank[%d] = {", static_cast<int>(size));
    for (int32_t i = 0; i < size; ++i)
        std::fprintf(out, "%s%u,", i % 24 == 0 ? "\n" : "", static_cast<unsigned>(bytes[i]));
    std::fprintf(out, "\n};\n");
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: velmora-bankgen <bank.txt> <out.cpp>\n");
        return 2;
    }
    CBankSource source;
    if (!source.Load(argv[1]))
        return 1;
    CMemoryStream stream;
    CPatchWriter writer(stream, CPatchWriter::Layout::Factory);
    for (const SynthProgram& program : source.Programs())
        writer.WriteProgram(program);
    writer.WriteCurrentIndex(0);
    if (!WriteSource(argv[2], stream.Data(), stream.Size()))
    {
        std::fprintf(stderr, "velmora-bankgen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

#include "io/CIniFile.h"

#include "io/CStringList.h"
#include "io/HeapString.h"
#include "io/TextTrim.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{

bool IsSectionLine(const char* line)
{
    return line[0] == '[';
}

// True when line is "[" section "]" with the name trimmed.
bool IsSection(const char* line, const char* section)
{
    const size_t size = std::strlen(line);
    if (size < 2 || line[0] != '[' || line[size - 1] != ']')
        return false;
    return SpanEquals(Trim(line + 1, size - 2), section);
}

// The key part of a "key=value" line, or null text when there is no '='.
TextSpan KeyOf(const char* line)
{
    const char* equals = std::strchr(line, '=');
    if (!equals)
        return {nullptr, 0};
    return Trim(line, static_cast<size_t>(equals - line));
}

// Where a section and one of its keys sit in a list of lines.
struct Place
{
    int section = -1;  // index of the "[section]" line, or -1
    int key = -1;      // index of the key's line, or -1
    int end = -1;      // index after the section's last line
};

Place Find(const CStringList& lines, const char* section, const char* key)
{
    Place place;
    const int count = lines.Count();
    for (int i = 0; i < count && place.section < 0; ++i)
        if (IsSection(lines.Get(i), section))
            place.section = i;
    if (place.section < 0)
        return place;
    int i = place.section + 1;
    for (; i < count && !IsSectionLine(lines.Get(i)); ++i)
    {
        const TextSpan name = KeyOf(lines.Get(i));
        if (place.key < 0 && name.text && SpanEquals(name, key))
            place.key = i;
    }
    place.end = i;
    return place;
}

bool IsNumberText(const char* text)
{
    for (; *text; ++text)
        if (!((*text >= '0' && *text <= '9') || *text == '-' || *text == ',' || *text == '.'))
            return false;
    return true;
}

int ParseInt(const char* text)
{
    bool negative = false;
    if (*text == '-')
    {
        negative = true;
        ++text;
    }
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
    {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

// The trimmed value text of the key, or false when absent.
bool Lookup(const char* path, const char* section, const char* key, std::string& value)
{
    CStringList lines;
    if (!section || !key || !lines.LoadFromFile(path))
        return false;
    const Place place = Find(lines, section, key);
    if (place.key < 0)
        return false;
    const char* line = lines.Get(place.key);
    const char* equals = std::strchr(line, '=');
    const TextSpan text = Trim(equals + 1, std::strlen(equals + 1));
    value.assign(text.text, text.size);
    return true;
}

}  // namespace

CIniFile::CIniFile(const char* iniPath) : path(NewString(iniPath))
{
}

CIniFile::~CIniFile()
{
    FreeString(path);
}

int CIniFile::ReadInt(const char* section, const char* key, int fallback) const
{
    std::string value;
    if (!Lookup(path, section, key, value) || value.empty() || !IsNumberText(value.c_str()))
        return fallback;
    return ParseInt(value.c_str());
}

char* CIniFile::ReadString(const char* section, const char* key, const char* fallback) const
{
    std::string value;
    if (!Lookup(path, section, key, value))
        return NewString(fallback);
    return NewString(value.c_str());
}

bool CIniFile::WriteInt(const char* section, const char* key, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}

bool CIniFile::WriteString(const char* section, const char* key, const char* value)
{
    if (!section || !key || !value)
        return false;
    CStringList lines;
    lines.LoadFromFile(path);
    const std::string entry = std::string(key) + "=" + value;
    const Place place = Find(lines, section, key);
    if (place.key >= 0)
        lines.Set(place.key, entry.c_str());
    else if (place.section >= 0)
        lines.Insert(place.end, entry.c_str());
    else
    {
        lines.Add(("[" + std::string(section) + "]").c_str());
        lines.Add(entry.c_str());
    }
    return lines.SaveToFile(path);
}

#include "CInstrumentParameters.h"

#include "host/CVstHost.h"
#include "host/VstAbi.h"
#include "synth/ParameterTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{
// Hosts give these buffers for names and units; most plug-ins fill less.
constexpr size_t kTextBytes = 256;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) {
                                                  return std::tolower(static_cast<unsigned char>(x)) ==
                                                         std::tolower(static_cast<unsigned char>(y));
                                              });
}

std::string Choices(const ParameterInfo& info, const char* separator)
{
    std::string text;
    for (int32_t v = info.minimum; v <= info.maximum; ++v)
        text += (v > info.minimum ? separator : "") + std::string(info.choices[v - info.minimum]);
    return text;
}

std::string DefaultText(const ParameterInfo& info)
{
    if (info.choices != nullptr)
        return info.choices[info.defaultValue - info.minimum];
    return DisplayedNumber(info, info.defaultValue);
}
}

int32_t CInstrumentParameters::Count() const
{
    return host.NumParams();
}

std::string CInstrumentParameters::Name(int32_t index)
{
    char text[kTextBytes] = {};
    host.Dispatch(effGetParamName, index, 0, text, 0.0f);
    text[kTextBytes - 1] = 0;
    return text;
}

int32_t CInstrumentParameters::Find(const std::string& name)
{
    int32_t loose = -1;
    for (int32_t i = 0; i < Count(); ++i)
    {
        const std::string candidate = Name(i);
        if (candidate == name)
            return i;
        if (loose < 0 && SameIgnoringCase(candidate, name))
            loose = i;
    }
    return loose;
}

int32_t CInstrumentParameters::OwnEntry(int32_t index)
{
    const ParameterInfo* info = FindParameter(index);
    return info != nullptr && Name(index) == info->name ? index : -1;
}

std::string CInstrumentParameters::Describe(int32_t index)
{
    char line[512];
    const std::string name = Name(index);
    const int32_t own = OwnEntry(index);
    if (own < 0)
    {
        std::snprintf(line, sizeof line, "%3d  %-24s  range unknown", static_cast<int>(index), name.c_str());
        return line;
    }
    const ParameterInfo& info = kParameters[own];
    const std::string range = info.choices != nullptr
                                  ? Choices(info, "|")
                                  : DisplayedNumber(info, info.minimum) + ".." + DisplayedNumber(info, info.maximum);
    std::snprintf(line, sizeof line, "%3d  %-24s  %-30s  default %-6s  %s", static_cast<int>(index), name.c_str(),
                  range.c_str(), DefaultText(info).c_str(), info.unit);
    std::string text = line;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string CInstrumentParameters::Accepted(int32_t index)
{
    const int32_t own = OwnEntry(index);
    if (own < 0)
        return std::string();
    const ParameterInfo& info = kParameters[own];
    if (info.choices != nullptr)
        return "one of " + Choices(info, ", ");
    std::string text = DisplayedNumber(info, info.minimum) + " to " + DisplayedNumber(info, info.maximum);
    if (info.unit[0] != 0)
        text += std::string(" ") + info.unit;
    return text;
}

bool CInstrumentParameters::SetFromText(int32_t index, const std::string& text)
{
    return host.Dispatch(effString2Parameter, index, 0, const_cast<char*>(text.c_str()), 0.0f) != 0;
}

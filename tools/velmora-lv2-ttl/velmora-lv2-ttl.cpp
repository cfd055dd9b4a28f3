// velmora-lv2-ttl <bundle folder> <library file name>: writes the LV2
// bundle's manifest.ttl, velmora.ttl (the plug-in, its ports and its UI) and
// presets.ttl (the 64 factory programs) from the parameter table and the
// compiled factory bank, so the Turtle cannot disagree with the editor or
// the VST parameters.
#include "io/CMemoryStream.h"
#include "lv2/Lv2Ports.h"
#include "synth/CSynth.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace
{
const char* const kPluginUri = "urn:velmora:synth";
const char* const kUiUri = "urn:velmora:synth#ui";
const char* const kProgramKey = "urn:velmora:synth#program";

const char* const kPrefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                              "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                              "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                              "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                              "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                              "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
                              "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// The shortest decimal that reads back as the same float.
std::string Number(float value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e9f)
        return std::to_string(static_cast<long long>(value));
    char text[32] = "";
    for (int precision = 1; precision <= 9; ++precision)
    {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return text;
}

// Port symbols are C identifiers made from the host names: "Delay L/R" is
// delay_l_r.
std::string Symbol(const char* name)
{
    std::string symbol;
    for (const char* c = name; *c; ++c)
    {
        if (std::isalnum(static_cast<unsigned char>(*c)))
            symbol += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        else if (!symbol.empty() && symbol.back() != '_')
            symbol += '_';
    }
    while (!symbol.empty() && symbol.back() == '_')
        symbol.pop_back();
    return symbol;
}

// The units the LV2 units extension names; anything else has none.
const char* UnitUri(const char* unit)
{
    const std::string u = unit;
    if (u == "%")
        return "units:pc";
    if (u == "ms")
        return "units:ms";
    if (u == "Hz")
        return "units:hz";
    if (u == "st")
        return "units:semitone12TET";
    return nullptr;
}

std::string Base64(const uint8_t* data, size_t size)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < size; i += 3)
    {
        const uint32_t n = static_cast<uint32_t>(data[i]) << 16 | (i + 1 < size ? data[i + 1] << 8 : 0) |
                           (i + 2 < size ? data[i + 2] : 0);
        out += kDigits[n >> 18 & 63];
        out += kDigits[n >> 12 & 63];
        out += i + 1 < size ? kDigits[n >> 6 & 63] : '=';
        out += i + 2 < size ? kDigits[n & 63] : '=';
    }
    return out;
}

void WriteControlPort(std::ostream& out, const ParameterInfo& info)
{
    out << "\t\ta lv2:InputPort, lv2:ControlPort ;\n"
        << "\t\tlv2:index " << Lv2Ports::ControlPort(info.id) << " ;\n"
        << "\t\tlv2:symbol \"" << Symbol(info.name) << "\" ;\n"
        << "\t\tlv2:name " << Quoted(info.name) << " ;\n"
        << "\t\tlv2:default " << Number(Lv2Ports::PortDefault(info)) << " ;\n"
        << "\t\tlv2:minimum " << Number(Lv2Ports::PortMinimum(info)) << " ;\n"
        << "\t\tlv2:maximum " << Number(Lv2Ports::PortMaximum(info));
    if (Lv2Ports::IsIntegerPort(info))
        out << " ;\n\t\tlv2:portProperty lv2:integer";
    if (info.choices)
    {
        out << ", lv2:enumeration";
        for (int32_t v = info.minimum; v <= info.maximum; ++v)
            out << " ;\n\t\tlv2:scalePoint [ rdfs:label " << Quoted(info.choices[v - info.minimum]) << " ; rdf:value "
                << Number(Lv2Ports::PortValue(info, v)) << " ]";
    }
    if (const char* unit = UnitUri(info.unit))
        out << " ;\n\t\tunits:unit " << unit;
    out << "\n";
}

std::string Plugin(const std::string& binary)
{
    std::ostringstream out;
    out << kPrefixes << "<" << kPluginUri << ">\n"
        << "\ta lv2:Plugin, lv2:InstrumentPlugin ;\n"
        << "\tdoap:name \"Velmora\" ;\n"
        << "\tdoap:maintainer [ foaf:name \"Velmora Instruments\" ] ;\n"
        << "\tlv2:minorVersion 2 ;\n\tlv2:microVersion 0 ;\n"
        << "\tlv2:requiredFeature urid:map ;\n"
        << "\tlv2:optionalFeature lv2:hardRTCapable ;\n"
        << "\tlv2:extensionData state:interface ;\n"
        << "\tui:ui <" << kUiUri << "> ;\n"
        << "\tlv2:port [\n"
        << "\t\ta lv2:InputPort, atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n"
        << "\t\tatom:supports midi:MidiEvent, time:Position ;\n\t\tlv2:designation lv2:control ;\n"
        << "\t\tlv2:index " << Lv2Ports::kMidiIn << " ;\n\t\tlv2:symbol \"midi_in\" ;\n\t\tlv2:name \"MIDI In\"\n"
        << "\t] , [\n"
        << "\t\ta lv2:OutputPort, lv2:AudioPort ;\n\t\tlv2:index " << Lv2Ports::kOutLeft
        << " ;\n\t\tlv2:symbol \"out_left\" ;\n\t\tlv2:name \"1 Out\"\n"
        << "\t] , [\n"
        << "\t\ta lv2:OutputPort, lv2:AudioPort ;\n\t\tlv2:index " << Lv2Ports::kOutRight
        << " ;\n\t\tlv2:symbol \"out_right\" ;\n\t\tlv2:name \"2 Out\"\n";
    for (const ParameterInfo& info : kParameters)
    {
        out << "\t] , [\n";
        WriteControlPort(out, info);
    }
    out << "\t] .\n\n"
        << "<" << kUiUri << ">\n"
        << "\ta ui:X11UI ;\n"
        << "\tui:binary <" << binary << "> ;\n"
        << "\tlv2:optionalFeature ui:parent, ui:resize, ui:touch, ui:idleInterface,\n"
        << "\t\t<http://lv2plug.in/ns/ext/instance-access> ;\n"
        << "\tlv2:extensionData ui:idleInterface .\n";
    return out.str();
}

std::string PresetUri(int32_t index)
{
    char uri[64];
    std::snprintf(uri, sizeof uri, "%s:preset:%02d", kPluginUri, static_cast<int>(index));
    return uri;
}

std::string Manifest(const std::string& binary)
{
    std::ostringstream out;
    out << kPrefixes << "<" << kPluginUri << ">\n\ta lv2:Plugin, lv2:InstrumentPlugin ;\n"
        << "\tlv2:binary <" << binary << "> ;\n\trdfs:seeAlso <velmora.ttl> .\n\n"
        << "<" << kUiUri << ">\n\ta ui:X11UI ;\n\tui:binary <" << binary << "> ;\n"
        << "\trdfs:seeAlso <velmora.ttl> .\n";
    for (int32_t i = 0; i < CSynth::kProgramCount; ++i)
        out << "\n<" << PresetUri(i) << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" << kPluginUri << "> ;\n"
            << "\trdfs:seeAlso <presets.ttl> .\n";
    return out.str();
}

// Each preset is one factory program: its chunk, which the plug-in loads into
// the current program, and its knob values, which hosts show on the ports.
std::string Presets(CSynth& synth)
{
    std::ostringstream out;
    out << kPrefixes;
    for (int32_t i = 0; i < CSynth::kProgramCount; ++i)
    {
        synth.SetProgram(i);
        CMemoryStream chunk;
        synth.SaveState(&chunk, true);
        out << "<" << PresetUri(i) << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" << kPluginUri << "> ;\n"
            << "\trdfs:label " << Quoted(synth.programs[i].name) << " ;\n"
            << "\tstate:state [\n\t\t<" << kProgramKey << "> \""
            << Base64(chunk.Data(), static_cast<size_t>(chunk.Size())) << "\"^^xsd:base64Binary\n\t] ;\n"
            << "\tlv2:port";
        for (const ParameterInfo& info : kParameters)
            out << (info.id == 0 ? " [\n" : " , [\n") << "\t\tlv2:symbol \"" << Symbol(info.name)
                << "\" ;\n\t\tpset:value " << Number(Lv2Ports::PortValue(info, KnobValue(synth.programs[i], info)))
                << "\n\t]";
        out << " .\n\n";
    }
    return out.str();
}

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file)
    {
        std::cerr << "velmora-lv2-ttl: cannot write " << path << "\n";
        return false;
    }
    return true;
}

bool SymbolsUnique()
{
    std::set<std::string> symbols = {"midi_in", "out_left", "out_right"};
    for (const ParameterInfo& info : kParameters)
    {
        if (!symbols.insert(Symbol(info.name)).second)
        {
            std::cerr << "velmora-lv2-ttl: two ports would be named " << Symbol(info.name) << "\n";
            return false;
        }
    }
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: velmora-lv2-ttl <bundle folder> <library file name>\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string binary = argv[2];
    auto synth = std::make_unique<CSynth>();
    if (!SymbolsUnique() || !Write(folder + "/manifest.ttl", Manifest(binary)) ||
        !Write(folder + "/velmora.ttl", Plugin(binary)) || !Write(folder + "/presets.ttl", Presets(*synth)))
        return 1;
    return 0;
}

#pragma once

#include <cstdint>
#include <string>

class CVstHost;

// The parameters of a loaded instrument, by name, as a host sees them: names
// and units from the plug-in, values typed as text through its
// effString2Parameter. Velmora's own parameters are also described with the
// range and default of their knobs, which the interface does not carry.
class CInstrumentParameters
{
public:
    // host is not owned and must stay loaded.
    explicit CInstrumentParameters(CVstHost& host) : host(host) {}

    int32_t Count() const;
    std::string Name(int32_t index);
    // The parameter with this name, exact or else ignoring case; -1 when none.
    int32_t Find(const std::string& name);
    // One line: index, name, range, default and unit ("range unknown" for a
    // plug-in other than ours).
    std::string Describe(int32_t index);
    // The values a parameter takes, for messages: "0 to 100 %", "one of SAW,
    // SQUARE"; empty for a plug-in other than ours.
    std::string Accepted(int32_t index);
    // Sets the parameter from typed text; false when the plug-in refuses it.
    bool SetFromText(int32_t index, const std::string& text);

private:
    // Our table's entry at index when the plug-in names it the same: -1 otherwise.
    int32_t OwnEntry(int32_t index);

    CVstHost& host;
};

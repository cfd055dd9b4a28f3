#pragma once

#include "synth/SynthProgram.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Every knob of the editor as one automatable setting of the current program.
// A value has three forms: the field as stored (float fields 0..1 or -1..1,
// integer fields as shown), the knob's value (float fields x 100, rounded;
// integer fields as they are) in minimum..maximum, and the host's 0..1 over
// that range.

// What a setting is drawn as, and so how its value reads.
enum class ParameterKind : uint8_t
{
    Float,    // a float field, shown x 100
    Integer,  // an integer field, shown as it is
    Switch,   // an integer field 0..1, named by its choices
    List,     // an integer field, each value named by its choices
    Beats     // an integer beat count over a division field: "3/16"
};

struct ParameterInfo
{
    int32_t id;         // its index; see kParameters
    const char* name;   // the host's name: panel and knob, unique
    const char* label;  // the editor knob's caption
    ParameterKind kind;
    size_t offset;          // of the field in SynthProgram
    size_t divisionOffset;  // Beats: of the division field
    int32_t minimum;        // knob units
    int32_t maximum;
    int32_t defaultValue;        // the knob's double-click value
    const char* unit;            // of the displayed value: "%", "ms", "Hz", "st" or ""
    const char* const* choices;  // Switch, List: names of minimum..maximum
    // Where the displayed value is not the knob value itself (effect
    // settings kept in stored units): (knob value + displayShift) x
    // displayStep, with displayDecimals places.
    int32_t displayShift = 0;
    double displayStep = 1.0;
    int32_t displayDecimals = 0;
};

constexpr int32_t kParameterTableSize = 120;

// A host stores automation by index: entries are only ever appended, never
// moved, removed or renumbered.
extern const ParameterInfo kParameters[kParameterTableSize];

// Null when index is out of the table.
const ParameterInfo* FindParameter(int32_t index);
// The index of the entry with this host name, exact or else ignoring case;
// -1 when there is none.
int32_t FindParameterByName(const char* name);

// The nearest knob value to v, halves away from zero; NaN gives 0 and the
// result is limited to +-1e9, so that a damaged field never makes an
// undefined conversion.
int32_t RoundToKnob(double v);
// The field's value in knob units, rounded as the knob reads it (NaN as 0).
int32_t KnobValue(const SynthProgram& program, const ParameterInfo& info);
// The field's value over the range, 0..1, clamped.
float NormalizedValue(const SynthProgram& program, const ParameterInfo& info);
// Writes the knob value nearest to 0..1 over the range into the field as the
// knob would store it; NaN writes the minimum. No allocation: audio thread.
void SetNormalizedValue(SynthProgram& program, const ParameterInfo& info, float normalized);
// A knob value as the display reads it, without a unit; choices are not
// named here.
std::string DisplayedNumber(const ParameterInfo& info, int32_t value);
// The displayed value of the field, without its unit (its choice name for
// switches and lists), cut to size - 1 characters.
void ValueText(const SynthProgram& program, const ParameterInfo& info, char* text, size_t size);
// Reads a typed value in display units (a choice name for switches and lists;
// beats optionally followed by the current "/division"; the unit may follow
// the number) and writes it; false, leaving the field, for anything outside
// the range or unreadable.
bool SetValueFromText(SynthProgram& program, const ParameterInfo& info, const char* text);

#pragma once

#include "editor/CSoundPanels.h"

// The effects panel: "FX" shows the six effect levels; the second header
// entry (the selected effect's short name and number, e.g. "CHR1") shows
// that effect's level and settings. In that mode the header's advance steps
// to the next effect and its menu lists them. The knobs of effect settings
// show their values in the effect's units while turned.
class CFXGroup : public CSynthPanel
{
public:
    CFXGroup(CSynthWin* window, CSynth* synth);

    static constexpr int32_t kEffectCount = 6;

private:
    void BuildLevels();
    void BuildEffect(int32_t index);
    // Places the knob of field, its value shown with the effect's units.
    template <typename Field>
    void PlaceFx(Field& field);
    void Advance(CCtrl* sender);
    void Menu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void KnobText(CCtrl* sender, char*& text, int32_t value);
};

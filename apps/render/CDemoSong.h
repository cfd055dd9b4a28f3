#pragma once

#include "CSequence.h"

// The built-in music: a demo song of about 30 seconds in five parts on
// different factory programs (pad, arpeggio, bass, lead, bells), and a short
// phrase for auditioning one program at a time. Both are our own writing.
class CDemoSong
{
public:
    static constexpr double kBpm = 120.0;
    static constexpr int kBars = 15;

    // Channels 0..4: pad, arpeggio, bass, lead, bells, each naming its program.
    static CSequence Song();
    // A rising line then a held chord, all on channel 0, about four seconds.
    static CSequence Phrase();
};

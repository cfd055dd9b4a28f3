#pragma once

// The synth-wide sine table (65536 floats, one cycle) that the chorus and the
// phaser read their LFOs from; filled on the first call.
const float* SharedSineTable();

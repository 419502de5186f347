#ifndef LIRVA_DSP_DEVICE_ANSWERS_H
#define LIRVA_DSP_DEVICE_ANSWERS_H

// How the simulated device answers the settings when it should not simply
// take what it is asked, for tests of a player that reads the answers.
// From LIRVA_DSP_ANSWER, read at each open: comma-separated, any of
//   format=s16be | s16le | u8 | NUMBER   the sample format it settles on
//   channels=1 | 2                       the channels it plays
//   rate=HZ                              the rate it plays
// e.g. LIRVA_DSP_ANSWER=rate=48000,channels=1. Unset fields (0) answer
// as the device always does.
//
// The rates it plays, as a real driver: LIRVA_DSP_RATES, comma-separated
// (e.g. LIRVA_DSP_RATES=44100 for a device of one rate), by default the
// usual set from 8 to 192 kHz. A rate request is answered with the nearest
// of them.
struct DeviceAnswers {
    static constexpr int max_rates = 16;

    int format = 0;
    int channels = 0;
    int rate = 0;
    int rates[max_rates] = {};
    int rate_count = 0;

    // The played rate nearest to `asked` (the lower one of two as near).
    int nearest_rate(int asked) const;
};

DeviceAnswers answers_from_environment();

#endif

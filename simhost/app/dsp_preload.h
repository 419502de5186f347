#ifndef LIRVA_SIMHOST_APP_DSP_PRELOAD_H
#define LIRVA_SIMHOST_APP_DSP_PRELOAD_H

#include <string>

// Our machines have no /dev/dsp; the simulated device is a library that
// must be preloaded. simhost restarts itself with it in LD_PRELOAD.

// What decides whether to restart, gathered from the process and its
// environment.
struct PreloadFacts {
    std::string simPath;           // the simulated device's library; empty when not built
    bool simExists = false;        // that file is there
    bool deviceExists = false;     // a real /dev/dsp
    bool simLoaded = false;        // the library is already mapped in this process
    bool restarted = false;        // this process is already the restart
    std::string ldPreload;         // LD_PRELOAD as inherited
    std::string sanitizerRuntime;  // a sanitizer runtime loaded as a shared library, or ""
};

struct PreloadDecision {
    bool restart = false;
    std::string ldPreload;  // the new LD_PRELOAD when restarting
    std::string warning;    // why the simulated device will be missing, if it will
};

// Decides the restart. No restart when LD_PRELOAD already names an OSS
// layer of a sound system (ALSA's libaoss, PulseAudio's libpulsedsp): it
// provides /dev/dsp, and the simulated device, put first, would hide it.
// A sanitizer runtime stays first in LD_PRELOAD (and
// is put first if it was loaded as the program's dependency), since the
// address sanitizer refuses to run when another library precedes it.
PreloadDecision decidePreload(const PreloadFacts& facts);

// The simulated device's library: the one beside the running program when
// there is one (an installed simhost), else `builtPath` (the build tree).
std::string dspSimLibrary(const char* builtPath);

// Gathers the facts for this process.
PreloadFacts currentPreloadFacts(const char* simPath);

// Restarts the program with the simulated device preloaded when the facts
// call for it (setting LIRVA_DSP_CAPTURE to /tmp/lirva-last-play.wav unless
// set). Returns only when no restart happens or the restart failed; warns
// on stderr when the device will be missing.
void restartWithDspSimIfNeeded(char** argv, const char* simPath);

#endif

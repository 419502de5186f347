#include "dsp_preload.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kRestartMarker = "LIRVA_SIMHOST_DSP_RESTARTED";
constexpr const char* kDefaultCapture = "/tmp/lirva-last-play.wav";

// The dynamic loader accepts both colons and blanks between entries.
std::vector<std::string> splitPreload(const std::string& list)
{
    std::vector<std::string> entries;
    std::string entry;
    for (char c : list + ":") {
        if (c == ':' || c == ' ' || c == '\t') {
            if (!entry.empty())
                entries.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    return entries;
}

bool isSanitizerRuntime(const std::string& path, const std::string& knownRuntime)
{
    if (!knownRuntime.empty() && path == knownRuntime)
        return true;
    const std::string base = path.substr(path.find_last_of('/') + 1);
    for (const char* prefix : {"libasan.", "libtsan.", "libubsan.", "liblsan.", "libhwasan.", "libclang_rt."})
        if (base.rfind(prefix, 0) == 0)
            return true;
    return false;
}

// The preload libraries through which sound systems offer /dev/dsp.
bool isOssLayer(const std::string& path)
{
    const std::string base = path.substr(path.find_last_of('/') + 1);
    for (const char* prefix : {"libaoss.so", "libpulsedsp.so"})
        if (base.rfind(prefix, 0) == 0)
            return true;
    return false;
}

std::string executablePath()
{
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// The file of a sanitizer runtime that was loaded as a shared library; ""
// when none is, or when it is linked into the executable itself.
std::string sharedSanitizerRuntime()
{
    for (const char* init : {"__asan_init", "__tsan_init"}) {
        void* sym = dlsym(RTLD_DEFAULT, init);
        Dl_info info{};
        if (!sym || !dladdr(sym, &info) || !info.dli_fname)
            continue;
        char real[PATH_MAX];
        const std::string file = realpath(info.dli_fname, real) ? real : info.dli_fname;
        if (file != executablePath())
            return file;
    }
    return "";
}

}  // namespace

PreloadDecision decidePreload(const PreloadFacts& f)
{
    PreloadDecision d;
    const std::vector<std::string> entries = splitPreload(f.ldPreload);
    bool listed = false, ossLayer = false;
    for (const std::string& e : entries)
        listed = listed || e == f.simPath, ossLayer = ossLayer || isOssLayer(e);

    if (ossLayer)
        return d;
    if (f.simPath.empty()) {
        if (!f.deviceExists)
            d.warning = "this simhost was built without the simulated /dev/dsp";
        return d;
    }
    if (f.deviceExists || f.simLoaded || listed)
        return d;
    if (f.restarted) {
        d.warning = "the simulated /dev/dsp did not load from " + f.simPath;
        return d;
    }
    if (!f.simExists) {
        d.warning = "no /dev/dsp and no simulated one at " + f.simPath;
        return d;
    }

    std::vector<std::string> first, rest;
    for (const std::string& e : entries)
        (isSanitizerRuntime(e, f.sanitizerRuntime) ? first : rest).push_back(e);
    if (!f.sanitizerRuntime.empty() && first.empty())
        first.push_back(f.sanitizerRuntime);
    first.push_back(f.simPath);
    first.insert(first.end(), rest.begin(), rest.end());
    for (const std::string& e : first)
        d.ldPreload += (d.ldPreload.empty() ? "" : ":") + e;
    d.restart = true;
    return d;
}

std::string dspSimLibrary(const char* builtPath)
{
    const std::string exe = executablePath();
    const std::string beside = exe.substr(0, exe.find_last_of('/') + 1) + "liblirva_dsp_sim.so";
    if (!exe.empty() && access(beside.c_str(), R_OK) == 0)
        return beside;
    return builtPath ? builtPath : "";
}

PreloadFacts currentPreloadFacts(const char* simPath)
{
    PreloadFacts f;
    f.simPath = simPath ? simPath : "";
    f.simExists = !f.simPath.empty() && access(f.simPath.c_str(), R_OK) == 0;
    f.deviceExists = access("/dev/dsp", F_OK) == 0;
    if (f.simExists) {
        void* handle = dlopen(f.simPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
        f.simLoaded = handle != nullptr;
        if (handle)
            dlclose(handle);  // drops only the reference NOLOAD took
    }
    f.restarted = std::getenv(kRestartMarker) != nullptr;
    const char* preload = std::getenv("LD_PRELOAD");
    f.ldPreload = preload ? preload : "";
    f.sanitizerRuntime = sharedSanitizerRuntime();
    return f;
}

void restartWithDspSimIfNeeded(char** argv, const char* simPath)
{
    const PreloadDecision d = decidePreload(currentPreloadFacts(simPath));
    if (!d.restart) {
        if (!d.warning.empty())
            std::fprintf(stderr, "simhost: %s; playback will be silent\n", d.warning.c_str());
        return;
    }
    const char* inherited = std::getenv("LD_PRELOAD");
    const std::string original = inherited ? inherited : "";
    setenv("LD_PRELOAD", d.ldPreload.c_str(), 1);
    setenv(kRestartMarker, "1", 1);
    setenv("LIRVA_DSP_CAPTURE", kDefaultCapture, 0);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "simhost: cannot restart with the simulated /dev/dsp: %s\n", std::strerror(errno));
    if (inherited)
        setenv("LD_PRELOAD", original.c_str(), 1);
    else
        unsetenv("LD_PRELOAD");
}

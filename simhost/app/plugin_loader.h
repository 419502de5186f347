#ifndef LIRVA_SIMHOST_APP_PLUGIN_LOADER_H
#define LIRVA_SIMHOST_APP_PLUGIN_LOADER_H

#include <string>

// The one entry point a plug-in exports.
using PluginEntry = int (*)(void*);
constexpr const char* kPluginEntryName = "plugin_exec";

struct LoadedPlugin {
    PluginEntry entry = nullptr;
    std::string error;  // why loading failed; empty on success
    bool ok() const { return entry != nullptr; }
};

// Loads the shared object at `path` with every symbol bound now, so that a
// toolkit symbol this host lacks is reported here rather than at the first
// call. A path without '/' names a file in the current directory, not one
// in the library search path. The plug-in stays loaded for the life of the
// process: a play thread may still run its code after plugin_exec returns.
LoadedPlugin loadPlugin(const std::string& path);

#endif

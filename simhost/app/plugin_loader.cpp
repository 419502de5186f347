#include "plugin_loader.h"

#include <dlfcn.h>

LoadedPlugin loadPlugin(const std::string& path)
{
    LoadedPlugin plugin;
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        plugin.error = why ? why : "cannot load " + file;
        return plugin;
    }
    dlerror();
    void* sym = dlsym(handle, kPluginEntryName);
    if (!sym) {
        const char* why = dlerror();
        plugin.error = std::string(file) + " has no " + kPluginEntryName + (why ? std::string(": ") + why : "");
        dlclose(handle);
        return plugin;
    }
    plugin.entry = reinterpret_cast<PluginEntry>(sym);
    return plugin;
}

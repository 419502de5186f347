#include "track_list.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>

bool is_flac_name(const char* name)
{
    const size_t n = strlen(name);
    return n >= 5 && strcasecmp(name + n - 5, ".flac") == 0;
}

std::string next_track(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "";
    const std::string folder = path.substr(0, slash + 1);  // with its "/"
    const std::string current = path.substr(slash + 1);

    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return "";
    // The least name after the current one: one pass, nothing sorted.
    std::string best, full;
    while (const dirent* record = readdir(dir)) {
        const char* name = record->d_name;
        if (!is_flac_name(name) || std::string(name) <= current || (!best.empty() && best <= name))
            continue;
        struct stat st;
        full.assign(folder).append(name);
        if (lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            best = name;
    }
    closedir(dir);
    return best.empty() ? best : folder + best;
}

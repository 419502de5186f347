#ifndef LIRVA_TESTS_SIMHOST_RUN_H
#define LIRVA_TESTS_SIMHOST_RUN_H

// Running the real simhost from a test: its command line, its printed
// screens, and the keys that walk the player from "/" to a directory.
#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace simhost_run {

struct RunResult {
    int exitCode = -1;
    std::string output;
};

// Runs a shell command line and collects its standard output.
inline RunResult run(const std::string& command) {
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.output.append(buf, n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

// `text` as one word for the shell, whatever it holds.
inline std::string shellQuoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The command line that starts simhost. In a cross build it runs under the
// emulator that runs this test, as the kernel cannot start it. simhost would
// then fail to restart itself with the simulated device (that exec goes to
// the kernel too), so the emulator preloads it for simhost alone (-E), as the
// restart would have.
inline std::string simhost(const std::string& args) {
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string launch =
        emulator.empty() ? std::string() : emulator + " -E LD_PRELOAD=" + shellQuoted(LIRVA_DSP_SIM) + " ";
    return launch + SIMHOST_EXE + " " + args;
}

// The screens simhost printed, each as its text between the marker lines.
inline std::vector<std::string> screens(const std::string& output) {
    const std::string begin = "----- screen -----\n", end = "----- end screen -----\n";
    std::vector<std::string> found;
    for (size_t at = output.find(begin); at != std::string::npos; at = output.find(begin, at)) {
        at += begin.size();
        const size_t stop = output.find(end, at);
        if (stop == std::string::npos) break;
        found.push_back(output.substr(at, stop - at));
        at = stop;
    }
    return found;
}

inline mode_t typeOf(const std::string& path, bool followLinks) {
    struct stat st;
    const int rc = followLinks ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    return rc == 0 ? (st.st_mode & S_IFMT) : 0;
}

// What the player lists for `dir`: "..", "/name" for directories (links
// followed), the names of regular FLAC files, sorted byte by byte.
inline std::vector<std::string> playerListing(const std::string& dir) {
    std::vector<std::string> entries{".."};
    DIR* d = opendir(dir.c_str());
    if (!d) return entries;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name, full = (dir == "/" ? "" : dir) + "/" + name;
        if (typeOf(full, true) == S_IFDIR) {
            if (name != "." && name != ".." && name != "...") entries.push_back("/" + name);
        } else if (typeOf(full, false) == S_IFREG && name.size() >= 5) {
            std::string ext = name.substr(name.size() - 5);
            std::transform(ext.begin(), ext.end(), ext.begin(), ::toupper);
            if (ext == ".FLAC") entries.push_back(name);
        }
    }
    closedir(d);
    std::sort(entries.begin(), entries.end());
    return entries;
}

inline int indexOf(const std::vector<std::string>& v, const std::string& s) {
    const auto it = std::find(v.begin(), v.end(), s);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

inline std::string repeat(const std::string& word, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += word + " ";
    return out;
}

// The keys that move the cursor from ".." (the first row) onto `entry` of
// `dir`; "" when the player would not list it.
inline std::string keysToEntry(const std::string& dir, const std::string& entry) {
    const int at = indexOf(playerListing(dir), entry);
    return at < 0 ? std::string() : repeat("down", at);
}

// The keys that walk the player from "/" into the absolute directory
// `path`, one "ok" per level; "" when some level is not listed.
inline std::string keysToEnter(const std::string& path) {
    std::string keys, parent = "/";
    size_t from = 1;
    while (from < path.size()) {
        size_t to = path.find('/', from);
        if (to == std::string::npos) to = path.size();
        const std::string name = path.substr(from, to - from);
        if (!name.empty()) {
            const int at = indexOf(playerListing(parent), "/" + name);
            if (at < 0) return "";
            keys += repeat("down", at) + "ok\n";
            parent = (parent == "/" ? "" : parent) + "/" + name;
        }
        from = to + 1;
    }
    return keys;
}

// Where the row of an entry starts in a printed screen ("> " for the
// cursor row, "  " for the others); npos when the entry is not shown.
inline size_t rowOf(const std::string& screen, const std::string& entry, bool cursor = false) {
    const std::string cell = (cursor ? "> " : "  ") + entry;
    for (size_t at = screen.find(cell); at != std::string::npos; at = screen.find(cell, at + 1)) {
        const size_t after = at + cell.size();
        if (after < screen.size() && (screen[after] == ' ' || screen[after] == '|' || screen[after] == '\n'))
            return at;
    }
    return std::string::npos;
}

}  // namespace simhost_run

#endif

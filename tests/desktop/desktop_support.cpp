#include "desktop_support.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "simhost_run.h"

extern char** environ;

namespace desktop {

std::string missingProgram(const std::string& program, const std::string& package)
{
    const std::string command = "command -v " + simhost_run::shellQuoted(program) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0)
        return "";
    return "needs " + program + " (Debian package " + package + ")";
}

std::string missingFile(const std::string& path, const std::string& package)
{
    if (access(path.c_str(), R_OK) == 0)
        return "";
    return "needs " + path + " (Debian package " + package + ")";
}

bool toolsRequired()
{
    const char* v = std::getenv("LIRVA_REQUIRE_DESKTOP_TOOLS");
    return v && std::string(v) == "1";
}

bool waitUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + kHangBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::string referenceDecode(const std::string& flacFile)
{
    const simhost_run::RunResult r = simhost_run::run("flac -d -c -s --force-raw-format --endian=big --sign=signed " +
                                                      simhost_run::shellQuoted(flacFile));
    return r.exitCode == 0 ? r.output : std::string();
}

std::vector<std::string> deviceFormatCorpusFiles(const std::string& corpusDir)
{
    std::ifstream manifest(corpusDir + "/MANIFEST.tsv");
    std::vector<std::string> files;
    std::string line;
    std::getline(manifest, line);  // the column names
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string file, original, channels, bits, rate;
        std::getline(fields, file, '\t');
        std::getline(fields, original, '\t');
        std::getline(fields, channels, '\t');
        std::getline(fields, bits, '\t');
        std::getline(fields, rate, '\t');
        if (channels == "2" && bits == "16" && rate == "44100" && file.rfind("subset-", 0) == 0)
            files.push_back(corpusDir + "/" + file);
    }
    return files;
}

Background::Background(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env)
{
    std::map<std::string, std::string> all;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        if (eq != std::string::npos)
            all[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env)
        all[name] = value;
    std::vector<std::string> envText;
    for (const auto& [name, value] : all)
        envText.push_back(name + "=" + value);

    std::vector<char*> args, envp;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : envText)
        envp.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);
    if (posix_spawnp(&pid_, args[0], nullptr, nullptr, args.data(), envp.data()) != 0)
        pid_ = -1;
}

Background::~Background()
{
    if (started())
        stop(SIGTERM);
}

int Background::stop(int sig)
{
    if (!started())
        return -1;
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace desktop

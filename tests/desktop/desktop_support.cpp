#include "desktop_support.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace desktop {

std::string missingProgram(const std::string& program, const std::string& package)
{
    if (testsupport::run("command -v " + shellQuoted(program) + " >/dev/null 2>&1").exitCode == 0)
        return "";
    return "needs " + program + " (Debian package " + package + ")";
}

std::string missingFile(const std::string& path, const std::string& package)
{
    return access(path.c_str(), R_OK) == 0 ? "" : "needs " + path + " (Debian package " + package + ")";
}

bool toolsRequired()
{
    const char* v = std::getenv("LIRVA_REQUIRE_DESKTOP_TOOLS");
    return v && std::string(v) == "1";
}

bool waitUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + testwait::hang_bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::string referenceDecode(const std::string& flacFile)
{
    const testsupport::CommandResult r =
        testsupport::run("flac -d -c -s --force-raw-format --endian=big --sign=signed " + shellQuoted(flacFile));
    return r.exitCode == 0 ? r.output : std::string();
}

Background::Background(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env)
{
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (env.count(entry.substr(0, entry.find('='))) == 0)
            envText.push_back(entry);
    }
    for (const auto& [name, value] : env)
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

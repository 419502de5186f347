#ifndef LIRVA_TESTS_DESKTOP_DESKTOP_SUPPORT_H
#define LIRVA_TESTS_DESKTOP_DESKTOP_SUPPORT_H

// What the tests with real sound layers and the real terminal share: the
// tools they need, programs started in the background, waiting for an
// event with a bound that only catches a hang, and the reference decode.
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "wait.h"

namespace desktop {

using testsupport::readFile;
using testsupport::shellQuoted;

// "" when the program (or file) is there, else a sentence saying what is
// missing and which Debian package brings it.
std::string missingProgram(const std::string& program, const std::string& package);
std::string missingFile(const std::string& path, const std::string& package);

// Where the tools must be there (LIRVA_REQUIRE_DESKTOP_TOOLS=1, as in CI),
// a missing one fails the test; elsewhere it skips it.
bool toolsRequired();

// Calls `done` every 50 ms (each call may start a program) until it returns
// true; false once testwait::hang_bound has passed.
bool waitUntil(const std::function<bool()>& done);

// The reference decode of a FLAC file: big-endian signed raw samples.
std::string referenceDecode(const std::string& flacFile);

// A program started in the background with extra environment variables;
// stopped with SIGTERM when destroyed if still running.
class Background {
public:
    Background(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    bool started() const { return pid_ > 0; }
    // Sends `sig` and waits for the end; the exit status as a shell gives it.
    int stop(int sig);

private:
    pid_t pid_ = -1;
};

}  // namespace desktop

// Skips the test, or fails it where the tools are required, when `why` is
// not empty.
#define DESKTOP_REQUIRE(why)                                                                                           \
    do {                                                                                                               \
        const std::string missing_ = (why);                                                                            \
        if (!missing_.empty()) {                                                                                       \
            if (::desktop::toolsRequired())                                                                            \
                FAIL() << missing_;                                                                                    \
            GTEST_SKIP() << missing_;                                                                                  \
        }                                                                                                              \
    } while (0)

#endif

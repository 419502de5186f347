// The unchanged plug-in and lirva-play through the OSS layers of real sound
// systems instead of the simulated device: ALSA's libaoss into a file PCM
// over the null PCM, and PulseAudio's libpulsedsp into a null sink that
// parec records. What reaches the sound system must be the reference
// decode, byte for byte.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

#include "desktop_support.h"
#include "temp_tree.h"
#include "terminal_player.h"

namespace {

using namespace desktop;
namespace fs = std::filesystem;

const std::string kLibDir = LIRVA_SYSTEM_LIBDIR;
const std::string kAoss = kLibDir + "/libaoss.so.0";
const std::string kPulseDsp = kLibDir + "/pulseaudio/libpulsedsp.so";
const std::string kCorpusDir = LIRVA_CORPUS_DIR;
const std::string kTune = kCorpusDir + "/subset-01-blocksize-4096.flac";

// Where the two byte strings first differ, for the failure message.
size_t firstDifference(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    return std::mismatch(a.begin(), a.begin() + n, b.begin()).first - a.begin();
}

class AlsaOss : public ::testing::Test {
protected:
    void SetUp() override
    {
        DESKTOP_REQUIRE(missingFile(kAoss, "alsa-oss"));
        if (const std::string why = testsupport::missingCorpus(); !why.empty())
            GTEST_SKIP() << why;
        // Only this configuration: the default PCM writes what it gets to a
        // file and hands it on to the null PCM, which discards it at once.
        std::ofstream(tree / "asound.conf")
            << "pcm.!default {\n  type file\n  slave.pcm \"null\"\n  file \"" << output() << "\"\n"
            << "  format \"raw\"\n}\npcm.null { type null }\n";
    }

    std::string output() const { return tree / "alsa.raw"; }
    std::string environment() const
    {
        return "ALSA_CONFIG_PATH=" + shellQuoted(tree / "asound.conf") + " LD_PRELOAD=" + shellQuoted(kAoss);
    }

    TempTree tree{"!lirva-alsa"};
};

// One file is enough: the layer does not look at the samples; every corpus
// file reaches the simulated device byte-exact in the engine's suite.
TEST_F(AlsaOss, LirvaPlayDeliversTheReferenceDecode)
{
    const testsupport::CommandResult r =
        testsupport::run("env " + environment() + " " LIRVA_PLAY_EXE " " + shellQuoted(kTune) + " 2>&1");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string played = readFile(output()), reference = referenceDecode(kTune);
    ASSERT_FALSE(reference.empty()) << "the reference decoder failed";
    EXPECT_TRUE(played == reference) << "size " << played.size() << ", first difference at byte "
                                     << firstDifference(played, reference);
}

// No --no-dsp-sim: simhost must see the preloaded layer and leave the
// simulated device out.
TEST_F(AlsaOss, SimhostInTheTerminalDeliversTheReferenceDecode)
{
    DESKTOP_REQUIRE(missingProgram("tmux", "tmux"));
    const std::string reference = referenceDecode(kTune);
    ASSERT_FALSE(reference.empty());
    fs::copy_file(kTune, tree / "tune.flac");
    TerminalPlayer player(tree.path(), environment());
    ASSERT_TRUE(player.started()) << "tmux did not start";
    ASSERT_TRUE(player.waitForWindow()) << "no window (hang)\n" << player.lastScreen();
    ASSERT_TRUE(player.walkTo(tree / "tune.flac")) << "the walk never reached the file (hang)\n" << player.lastScreen();
    std::string played;
    ASSERT_TRUE(waitUntil([&] { return (played = readFile(output())).size() >= reference.size(); }))
        << "ALSA never got the whole play (hang)";
    player.keys("Escape");
    int exitCode = -1;
    ASSERT_TRUE(player.waitForExit(exitCode)) << "simhost did not end (hang)\n" << player.lastScreen();
    EXPECT_EQ(exitCode, 0) << player.lastScreen();
    EXPECT_TRUE(played == reference) << "size " << played.size() << ", first difference at byte "
                                     << firstDifference(played, reference);
}

// A PulseAudio server of the test's own: its own socket, home and runtime
// folder, no default configuration, one clocked null sink in the device's
// format without rewinds (a rewind re-renders samples that the sink's
// monitor has passed on already, and the recording would miss them).
class PulseOss : public ::testing::Test {
protected:
    void SetUp() override
    {
        DESKTOP_REQUIRE(missingProgram("pulseaudio", "pulseaudio"));
        DESKTOP_REQUIRE(missingProgram("parec", "pulseaudio-utils"));
        DESKTOP_REQUIRE(missingFile(kPulseDsp, "pulseaudio-utils"));
        if (const std::string why = testsupport::missingCorpus(); !why.empty())
            GTEST_SKIP() << why;
        fs::create_directories(tree / "home/.config");
        fs::create_directories(tree / "run");
        fs::permissions(tree / "run", fs::perms::owner_all);
        env = {{"PULSE_SERVER", "unix:" + (tree / "socket")},
               {"HOME", tree / "home"},
               {"XDG_CONFIG_HOME", tree / "home/.config"},
               {"XDG_RUNTIME_DIR", tree / "run"}};
        server = std::make_unique<Background>(
            std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                     "--disable-shm", "--log-target=stderr", "--log-level=error", "-L",
                                     "module-native-protocol-unix auth-anonymous=1 socket=" + (tree / "socket"), "-L",
                                     "module-null-sink sink_name=lirva rate=44100 channels=2 format=s16be norewinds=1"},
            env);
        ASSERT_TRUE(server->started());
        ASSERT_TRUE(waitUntil([&] {
            return testsupport::run("env " + variables() + "pactl info >/dev/null 2>&1").exitCode == 0;
        })) << "the PulseAudio server did not answer (hang)";
    }

    // The server's variables for env(1).
    std::string variables() const
    {
        std::string words;
        for (const auto& [name, value] : env)
            words += name + "=" + shellQuoted(value) + " ";
        return words;
    }

    TempTree tree{"!lirva-pulse"};
    std::map<std::string, std::string> env;
    std::unique_ptr<Background> server;
};

// parec records the null sink's monitor while lirva-play plays through
// libpulsedsp, until the recording holds the whole reference decode.
TEST_F(PulseOss, LirvaPlayDeliversTheReferenceDecode)
{
    const std::string reference = referenceDecode(kTune);
    ASSERT_FALSE(reference.empty());
    const std::string file = tree / "recording.raw";
    Background parec({"parec", "-d", "lirva.monitor", "--raw", "--format=s16be", "--rate=44100", "--channels=2",
                      "--latency-msec=50", file},
                     env);
    ASSERT_TRUE(parec.started());
    ASSERT_TRUE(waitUntil([&] {
        std::error_code ec;
        return fs::file_size(file, ec) > 0 && !ec;
    })) << "parec recorded nothing (hang)";

    const testsupport::CommandResult r =
        testsupport::run("env " + variables() + "LD_PRELOAD=" + shellQuoted(kPulseDsp) + " " LIRVA_PLAY_EXE " " +
                         shellQuoted(kTune) + " 2>&1");
    EXPECT_EQ(r.exitCode, 0) << r.output;

    const std::boyer_moore_horspool_searcher holdsReference(reference.begin(), reference.end());
    std::string recording;
    EXPECT_TRUE(waitUntil([&] {
        recording = readFile(file);
        return std::search(recording.begin(), recording.end(), holdsReference) != recording.end();
    })) << "the recording of "
        << recording.size() << " bytes never held the reference decode (hang)";
    parec.stop(SIGINT);
}

}  // namespace

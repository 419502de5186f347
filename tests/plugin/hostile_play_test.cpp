// Files and devices that try to hold the play thread: huge stretches
// without a frame, a FIFO or a device in place of a listed file, a device
// whose open would block, and a stop in each phase before the session.
// Whatever they do, a stop, another selection or leaving the window ends
// the play at once, and the play leaves nothing open behind it.
#include <sys/stat.h>

#include <random>
#include <thread>

#include "audio_device.h"
#include "emainloop.h"
#include "exec_thread.h"
#include "file_info.h"
#include "hostile_flac.h"
#include "player_fixture.h"
#include "widget_private.h"

extern "C" int plugin_exec(void*);

namespace {

using std::chrono::milliseconds;

// A bound that only a hang reaches: reading the hostile files to their end
// takes from half a minute to hours.
constexpr auto hangBound = testwait::hang_bound;

class HostilePlayTest : public PlayerTest {
protected:
    // After leaving, the status widgets went with the window.
    void expectNothingLeft(bool windowLeft = false)
    {
        EXPECT_EQ(file_info.is_playing, 0);
        EXPECT_EQ(file_info.decoder, nullptr);
        EXPECT_EQ(audio, 0);
        if (!windowLeft) {
            EXPECT_TRUE(displayIdle());
        }
        ExecThread::reclaimEnded();
        EXPECT_EQ(ExecThread::count(), 0);
        EXPECT_TRUE(descriptorsRestored()) << open_descriptors() << " open, " << fdsBefore << " before";
    }

    // Runs `action` as the GUI thread would, and fails (once it returns)
    // if it took until the hang bound.
    static void withinHangBound(const std::function<void()>& action, const std::string& what)
    {
        std::atomic<bool> done{false};
        std::thread gui([&] {
            action();
            done = true;
        });
        EXPECT_TRUE(waitFor([&] { return done.load(); }, hangBound)) << what << ": the window froze";
        gui.join();
    }

    std::string sourceFile() { return corpus("subset-01-blocksize-4096.flac"); }

    static bool underWay()
    {
        ExecThread* t = execThread.load();
        return t != nullptr && t->in_play();
    }
};

enum class Trigger { blue, anotherFile, leave };

struct HostileCase {
    const char* name;
    Trigger trigger;
};

void PrintTo(const HostileCase& c, std::ostream* out)
{
    const char* how[] = {"the blue key", "another file", "leaving"};
    *out << c.name << ", stopped by " << how[static_cast<int>(c.trigger)];
}

class HostileFiles : public HostilePlayTest, public ::testing::WithParamInterface<HostileCase> { };

TEST_P(HostileFiles, EndThePlayAtOnce)
{
    const char* const name = GetParam().name;
    const Trigger trigger = GetParam().trigger;
    const std::string path = tree / (std::string("music/") + name);
    const std::string why = std::string(name) == "endless.flac"
        ? make_sparse_after_header(path, sourceFile(), 1LL << 40)  // 1 TB
        : make_huge_padding(path, sourceFile(), 512);              // 8 GB of metadata
    if (!why.empty())
        GTEST_SKIP() << why;
    device->drain();

    if (trigger == Trigger::leave) {
        std::thread user([&] {
            // Walk to the file, wait until its play is under way, leave.
            eMainloop& loop = eMainloop::instance();
            EXPECT_GT(walkTo(tree / (std::string("music/") + name)), 0);
            waitFor(underWay);
            std::this_thread::sleep_for(milliseconds(20));
            loop.postKey(eRCKey::exit);
        });
        withinHangBound([] { plugin_exec(nullptr); }, "leaving");
        user.join();
    } else {
        play(name);
        ASSERT_TRUE(waitFor(underWay));
        std::this_thread::sleep_for(milliseconds(20));  // into the file
        if (trigger == Trigger::blue) {
            withinHangBound([&] { internals(*dialog).dispatchKey(eRCKey::blue); }, "the blue key");
        } else {
            withinHangBound([&] { play("broken.flac"); }, "selecting another file");
            ASSERT_TRUE(waitFor([] { return execThread.load() == nullptr; }));
        }
    }
    expectNothingLeft(trigger == Trigger::leave);
}

const HostileCase hostileCases[] = {
    {"endless.flac", Trigger::blue}, {"endless.flac", Trigger::anotherFile}, {"endless.flac", Trigger::leave},
    {"padded.flac", Trigger::blue},  {"padded.flac", Trigger::anotherFile},  {"padded.flac", Trigger::leave},
};

std::string caseName(const ::testing::TestParamInfo<HostileCase>& info)
{
    const char* how[] = {"Blue", "AnotherFile", "Leave"};
    return std::string(info.param.name[0] == 'e' ? "Endless" : "Padded") + how[static_cast<int>(info.param.trigger)];
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileFiles, ::testing::ValuesIn(hostileCases), caseName);

// A node swapped in for a listed file after the listing: refused at once,
// the play ends as for a file that cannot be opened.
TEST_F(HostilePlayTest, AFifoOrADeviceInPlaceOfTheFileIsRefused)
{
    const std::string fifo = tree / "music/swapped.flac";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    device->drain();
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        auto* t = new ExecThread(path);
        execThread = t;
        t->start();
        EXPECT_TRUE(waitFor([&] { return t->ended(); }, hangBound)) << path << ": the play thread is held";
        expectNothingLeft();
    }
}

TEST_F(HostilePlayTest, ADeviceWhoseOpenWouldBlockEndsThePlay)
{
    device.reset();
    device = std::make_unique<FifoDevice>(tree / "silent-dsp", FifoDevice::Reader::none);
    fdsBefore = open_descriptors();
    ExecThread::reclaimEnded();
    const int threadsBefore = ExecThread::count();
    play("track one.flac");
    // The refused open ends the play at once, and its end may clear
    // execThread before the selection returns: count the thread instead.
    ASSERT_EQ(ExecThread::count(), threadsBefore + 1) << "the selection started no play thread";
    EXPECT_TRUE(waitFor([] { return execThread.load() == nullptr; }, hangBound))
        << "the play thread waits for the device";
    expectNothingLeft();
}

// Blue in any phase, from the device set-up through the file's opening and
// the metadata to the decoding: the thread ends, and nothing stays open.
TEST_F(HostilePlayTest, BlueStopsThePlayInAnyPhase)
{
    std::mt19937 random(20261206);
    device->drain(176400.0 * 4);  // no play reaches its end in these rounds
    for (int round = 0; round < 50; ++round) {
        play(round % 2 ? "picture.flac" : "track one.flac");
        // Densely through the first phases, then anywhere in the first 20 ms.
        const unsigned pause = round < 30 ? round * 100u : static_cast<unsigned>(random() % 20000);
        std::this_thread::sleep_for(std::chrono::microseconds(pause));
        ExecThread* t = execThread.load();
        ASSERT_NE(t, nullptr);
        const bool stoppable = t->in_play() || file_info.is_playing;
        internals(*dialog).dispatchKey(eRCKey::blue);
        if (stoppable) {
            EXPECT_TRUE(t->ended()) << "round " << round;
        }
        ASSERT_TRUE(waitFor([&] { return t->ended(); }, hangBound));
        expectNothingLeft();
    }
}

}  // namespace

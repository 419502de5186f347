// Leaving the window while files play, and a random mix of plays, stops,
// replacements and leaves through the real entry point and remote keys.
#include <random>
#include <thread>

#include "audio_device.h"
#include "emainloop.h"
#include "exec_thread.h"
#include "file_info.h"
#include "player_fixture.h"

extern "C" int plugin_exec(void*);

namespace {

using std::chrono::milliseconds;

class LeaveWhilePlayingTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        if (IsSkipped())
            return;
        dialog->dispfiles(tree / "music");
        files = entries();  // "..", then the files in list order
    }

    static void post(const std::vector<eRCKey>& keys)
    {
        for (eRCKey key : keys)
            eMainloop::instance().postKey(key);
    }

    // Keys that move the cursor from row `from` to row `to` and choose it.
    static std::vector<eRCKey> choose(int from, int to)
    {
        std::vector<eRCKey> keys(static_cast<size_t>(std::abs(to - from)), to > from ? eRCKey::down : eRCKey::up);
        keys.push_back(eRCKey::ok);
        return keys;
    }

    int rowOf(const std::string& name) const
    {
        return static_cast<int>(std::find(files.begin(), files.end(), name) - files.begin());
    }

    void expectEverythingStopped()
    {
        ASSERT_TRUE(waitFor([&] { return device->settled(); }));
        EXPECT_EQ(ExecThread::count(), 0);
        EXPECT_EQ(execThread.load(), nullptr);
        EXPECT_EQ(file_info.is_playing, 0);
        EXPECT_EQ(file_info.decoder, nullptr);
        EXPECT_EQ(audio, 0);
        EXPECT_TRUE(descriptorsRestored()) << open_descriptors() << " open, " << fdsBefore << " before";
    }

    std::vector<std::string> files;
};

TEST_F(LeaveWhilePlayingTest, LeavingStopsAPlayBlockedInTheDeviceBeforeTheWindowGoes)
{
    device->hold();
    std::thread user([&] {
        EXPECT_GT(walkTo(tree / "music/track one.flac"), 0);
        EXPECT_TRUE(waitFor([&] { return device->full(); })) << "the play never filled the device (a hang)";
        eMainloop::instance().postKey(eRCKey::exit);
    });
    EXPECT_EQ(plugin_exec(nullptr), 0);
    user.join();
    EXPECT_EQ(pauses, std::vector<unsigned>{1});
    device->drain();
    ASSERT_TRUE(deviceSettledAfter(1));
    expectEverythingStopped();
    EXPECT_EQ(device->plays().size(), 1u);
}

TEST_F(LeaveWhilePlayingTest, LeavingRightAfterSelectingStopsAThreadStillOpeningItsSession)
{
    for (const char* name : {"track one.flac", "picture.flac"}) {
        std::thread user([&] {
            EXPECT_GT(walkTo(tree / (std::string("music/") + name)), 0);
            eMainloop::instance().postKey(eRCKey::exit);
        });
        EXPECT_EQ(plugin_exec(nullptr), 0);
        user.join();
    }
    expectEverythingStopped();
}

TEST_F(LeaveWhilePlayingTest, RandomPlaysStopsReplacementsAndLeavesLeakNothing)
{
    std::mt19937 random(6122026);
    // At the real rate a play lasts seconds, so an awaited selection is
    // seen playing however busy the machine.
    device->drain(176400.0);

    // The script: each session walks to the folder, then random actions.
    // Half of the selections wait, once the window has handled them, until
    // their file plays or its thread has ended, so that files play however
    // slowly the machine handles the keys; the others may be stopped or
    // replaced in any phase.
    struct Step {
        std::vector<eRCKey> keys;  // none: walk from "/" into the folder
        int pauseMs;
        bool awaitPlay;
    };
    int sessions = 1;
    int awaited = 0;
    std::vector<Step> steps;
    int cursor = 0;
    steps.push_back({{}, 0, false});
    for (int action = 0; action < 200; ++action) {
        int pause = static_cast<int>(random() % 12);
        bool awaitPlay = random() % 2 == 0;
        switch (random() % 8) {
        case 0:  // leave, and come back in a new window
            steps.push_back({{eRCKey::exit}, pause, false});
            steps.push_back({{}, 0, false});
            cursor = 0;
            ++sessions;
            break;
        case 1:
        case 2:  // stop
            steps.push_back({{eRCKey::blue}, pause, false});
            break;
        case 3:  // select the highlighted file again
            if (cursor != 0) {
                steps.push_back({{eRCKey::ok}, pause, awaitPlay});
                awaited += awaitPlay;
                break;
            }
            [[fallthrough]];
        default: {  // select some file
            int row = 1 + static_cast<int>(random() % (files.size() - 1));
            steps.push_back({choose(cursor, row), pause, awaitPlay});
            awaited += awaitPlay;
            cursor = row;
        }
        }
    }
    steps.push_back({{eRCKey::exit}, 0, false});

    int timedOut = 0;
    int playing = 0;  // awaited selections seen playing
    std::thread user([&] {
        // Keys of earlier steps may still wait in the queue: count from
        // the start, so that `handled` includes this step's last key.
        eMainloop& loop = eMainloop::instance();
        unsigned long handled = loop.keysHandled();
        for (const Step& step : steps) {
            if (step.keys.empty()) {
                const int walked = walkTo(tree / "music");
                EXPECT_GT(walked, 0) << "the walk into the folder hangs";
                handled += static_cast<unsigned long>(std::max(walked, 0));
                continue;
            }
            handled += step.keys.size();
            post(step.keys);
            if (step.awaitPlay) {
                // The old play was stopped before the new thread started:
                // a play now is the new one's.
                bool seenPlaying = false;
                bool settled = waitFor([&] {
                    if (loop.keysHandled() < handled)
                        return false;
                    seenPlaying = file_info.is_playing != 0;
                    return seenPlaying || execThread.load() == nullptr;
                });
                timedOut += !settled;
                playing += seenPlaying;
            }
            std::this_thread::sleep_for(milliseconds(step.pauseMs));
        }
    });
    for (int session = 0; session < sessions; ++session)
        EXPECT_EQ(plugin_exec(nullptr), 0);
    user.join();

    EXPECT_EQ(std::count(pauses.begin(), pauses.end(), 1u), static_cast<long>(pauses.size()));
    expectEverythingStopped();
    EXPECT_EQ(timedOut, 0);
    EXPECT_GT(playing, 10) << "of " << awaited << " awaited selections";
}

}  // namespace

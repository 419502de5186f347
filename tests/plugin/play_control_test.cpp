// Playing, stopping and replacing files from the window.
#include <thread>

#include "audio_device.h"
#include "exec_thread.h"
#include "file_info.h"
#include "player_fixture.h"
#include "status_widgets.h"
#include "widget_private.h"

namespace {

using std::chrono::milliseconds;

constexpr size_t wholeTrackBytes = 1234800;  // subset-01 as 16-bit big-endian stereo

class PlayControlTest : public PlayerTest {
protected:
    bool playingAndShown() { return file_info.is_playing && internals(*lb_TT).getText() == "00:07"; }

    void expectClosed()
    {
        EXPECT_EQ(file_info.is_playing, 0);
        EXPECT_EQ(file_info.decoder, nullptr);
        EXPECT_EQ(audio, 0);
        EXPECT_FALSE(audio_device_is_open());
        EXPECT_TRUE(displayIdle());
        EXPECT_STREQ(file_info.filename, "");
    }
};

TEST_F(PlayControlTest, StopWhileNothingPlaysOnlyFocusesTheList)
{
    dialog->setFocus(nullptr);
    internals(*dialog).dispatchKey(eRCKey::blue);
    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_TRUE(device->plays().empty());
    EXPECT_TRUE(pauses.empty());
}

TEST_F(PlayControlTest, StopInsideABlockedDeviceWriteClosesEverything)
{
    device->hold();
    play("track one.flac");
    ASSERT_TRUE(waitFor([&] { return playingAndShown(); }));
    EXPECT_EQ(internals(*lb_TotalTime).getText(), "Total Time : ");
    EXPECT_EQ(internals(*lb_ElapsedTime).getText(), "Elapsed Time : ");
    ASSERT_TRUE(waitFor([&] { return device->full(); })) << "the play never filled the device (a hang)";

    internals(*dialog).dispatchKey(eRCKey::blue);  // returns once the thread has ended

    expectClosed();
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
    EXPECT_TRUE(pauses.empty()) << "Stop does not pause";
}

TEST_F(PlayControlTest, AFileThatPlaysToItsEndClosesItselfAndClearsTheThread)
{
    play("track one.flac");
    ASSERT_TRUE(deviceSettledAfter(1));
    expectClosed();
    ASSERT_EQ(device->plays().size(), 1u);
    EXPECT_EQ(device->plays()[0].size(), wholeTrackBytes);

    // Stop after the end finds nothing to stop.
    internals(*dialog).dispatchKey(eRCKey::blue);
    EXPECT_EQ(device->plays().size(), 1u);
}

TEST_F(PlayControlTest, AFileTheDecoderCannotOpenStillClosesTheDevice)
{
    play("broken.flac");
    ASSERT_TRUE(deviceSettledAfter(1));
    expectClosed();
    ASSERT_EQ(device->plays().size(), 1u);
    EXPECT_EQ(device->plays()[0].size(), 0u);
}

TEST_F(PlayControlTest, ASecondSelectionStopsTheFirstPausesAndPlaysFromTheStart)
{
    device->hold();
    play("track one.flac");
    ASSERT_TRUE(waitFor([&] { return playingAndShown(); }));

    // The pause comes after the first play has been stopped: the device
    // then reads what it held, so the two plays stay apart.
    bool firstClosedBeforePause = false;
    onPause = [&] {
        firstClosedBeforePause = !file_info.is_playing && audio == 0;
        device->drain();
        deviceSettledAfter(1);
    };
    play("track one.flac");  // the same file again
    EXPECT_EQ(pauses, std::vector<unsigned>{1});
    EXPECT_TRUE(firstClosedBeforePause);
    ASSERT_TRUE(deviceSettledAfter(2));
    ASSERT_EQ(device->plays().size(), 2u);
    EXPECT_EQ(device->plays()[1].size(), wholeTrackBytes);

    std::vector<std::string> plays = device->plays();
    EXPECT_LT(plays[0].size(), wholeTrackBytes) << "the first play was cut short";
    EXPECT_EQ(plays[0], plays[1].substr(0, plays[0].size())) << "the second play starts from the beginning";
    expectClosed();
}

TEST_F(PlayControlTest, AFileThreadPastItsSessionIsNotStoppedByTheStopKey)
{
    // A thread that has closed its session but not ended yet: it ends only
    // when released, so a Stop that killed it would wait for the release.
    struct AfterPlay : ExecThread {
        AfterPlay(const std::string& path) : ExecThread(path) { }
        void thread() override
        {
            ExecThread::thread();  // a play that ends at once
            while (!release)
                std::this_thread::sleep_for(milliseconds(1));
        }
        std::atomic<bool> release{false};
    };
    auto* t = new AfterPlay(tree / "music/broken.flac");
    execThread = t;
    t->start();
    ASSERT_TRUE(waitFor([&] { return !t->in_play(); }));
    // Releases the thread after a bound that only a hang reaches.
    std::atomic<bool> guardReleased{false};
    std::thread guard([&] {
        if (!waitFor([&] { return t->release.load(); }))
            guardReleased = true, t->release = true;
    });
    internals(*dialog).dispatchKey(eRCKey::blue);
    t->release = true;
    guard.join();
    EXPECT_FALSE(guardReleased) << "Stop waited for a thread past its session";
    ASSERT_TRUE(waitFor([&] { return t->ended(); }));
    ExecThread::reclaimEnded();
    EXPECT_EQ(execThread.load(), nullptr) << "a reclaimed thread is no longer the current one";
}

TEST_F(PlayControlTest, FileNamesWithShellSyntaxPlayLikeAnyOther)
{
    const std::string odd = "-x ; touch $(echo pwned) 'q' \"d\".flac";
    std::filesystem::copy_file(corpus("faulty-09-blocksize-1.flac"), tree / ("music/" + odd));
    play(odd);
    ASSERT_TRUE(deviceSettledAfter(1));
    ASSERT_EQ(device->plays().size(), 1u);
    // 41519 mono samples at 24000 Hz, played as stereo at 44100 Hz.
    EXPECT_NEAR(device->plays()[0].size() / 4.0, 41519 * 44100.0 / 24000, 2);
}

}  // namespace

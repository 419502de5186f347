// The play thread over a device that cannot be opened or fails every
// write: the play ends there, shows no progress and leaves the display
// idle, instead of decoding the file unpaced while nothing sounds.
#include <algorithm>
#include <chrono>
#include <thread>

#include "exec_thread.h"
#include "wait.h"
#include "writer_fixture.h"

namespace {

class PlayThread : public EngineTest { };

struct DeviceCase {
    const char* what;
    std::string node;      // the device node the play opens
    bool decodesMetadata;  // the device opened, so the session did
};

TEST_F(PlayThread, ADeviceThatFailsEndsThePlayWithoutProgress)
{
    if (enginetest::corpus_dir().empty())
        GTEST_SKIP() << "the FLAC corpus is not there";
    const std::string file = enginetest::corpus_dir() + "/subset-01-blocksize-4096.flac";
    const DeviceCase cases[] = {
        {"a device that cannot be opened", tree_ / "no-such-dsp", false},
        {"a device whose every write fails (ENOSPC)", "/dev/full", true},
    };
    using Ops = std::vector<std::string>;
    for (const DeviceCase& c : cases) {
        reset_record();
        display_calls().clear();
        audio_device_path = c.node.c_str();
        auto* t = new ExecThread(file);
        t->start();
        ASSERT_TRUE(testwait::until([&] { return t->ended(); })) << c.what << ": the play hangs";

        const Ops ops = display_ops();
        EXPECT_EQ(std::count(ops.begin(), ops.end(), "display_elapsed_time"), 0) << c.what;
        EXPECT_EQ(std::count(ops.begin(), ops.end(), "DisplayTotalTime"), c.decodesMetadata ? 1 : 0) << c.what;
        ASSERT_GE(ops.size(), 3u) << c.what;
        EXPECT_EQ(Ops(ops.end() - 3, ops.end()), (Ops{"HideElapsedTime", "ResetProgressBar", "HideTotalTime"}))
            << c.what << ": the display is left idle";
        EXPECT_EQ(file_info.elapsed_time, 0) << c.what;
        EXPECT_EQ(file_info.is_playing, 0) << c.what;
        EXPECT_EQ(file_info.decoder, nullptr) << c.what;
        EXPECT_EQ(audio, 0) << c.what;
        ExecThread::reclaimEnded();
        EXPECT_EQ(ExecThread::count(), 0);
    }
}

}  // namespace

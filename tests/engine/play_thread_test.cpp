// The play thread over a device that cannot be opened or fails every
// write: the play ends there, shows no progress and leaves the display
// idle, instead of decoding the file unpaced while nothing sounds.
#include <algorithm>

#include "engine_fixture.h"
#include "exec_thread.h"
#include "wait.h"

class PlayThread : public EngineTest { };

TEST_F(PlayThread, ADeviceThatFailsEndsThePlayWithoutProgress)
{
    REQUIRE_CORPUS();
    const struct {
        const char* what;
        std::string node;
        int metadata_shown;  // the device opened, so the session did
    } cases[] = {
        {"a device that cannot be opened", tree_ / "no-such-dsp", 0},
        {"a device whose every write fails (ENOSPC)", "/dev/full", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset_record();
        audio_device_path = c.node.c_str();
        auto* t = new ExecThread(corpus_file("subset-01-blocksize-4096.flac"));
        t->start();
        ASSERT_TRUE(testwait::until([&] { return t->ended(); })) << "the play hangs";
        const std::vector<std::string> ops = display_ops();
        EXPECT_EQ(std::count(ops.begin(), ops.end(), "display_elapsed_time"), 0);
        EXPECT_EQ(std::count(ops.begin(), ops.end(), "DisplayTotalTime"), c.metadata_shown);
        ASSERT_GE(ops.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(ops.end() - 3, ops.end()), display_closing) << "the display is left busy";
        EXPECT_EQ(file_info.elapsed_time + file_info.is_playing, 0);
        EXPECT_EQ(file_info.decoder, nullptr);
        ExecThread::reclaimEnded();
        EXPECT_EQ(ExecThread::count(), 0);
    }
}

#include "player_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "audio_device.h"
#include "command.h"
#include "emainloop.h"
#include "entry_keys.h"
#include "exec_thread.h"
#include "file_info.h"
#include "gui_pause.h"
#include "status_widgets.h"
#include "thread_private.h"
#include "tree_lock.h"
#include "widget_private.h"

std::vector<unsigned> PlayerTest::pauses;
std::function<void()> PlayerTest::onPause;

namespace {

unsigned countPause(unsigned seconds)
{
    PlayerTest::pauses.push_back(seconds);  // GUI thread only
    if (PlayerTest::onPause)
        PlayerTest::onPause();
    return 0;
}

}  // namespace

void PlayerTest::SetUp()
{
    if (const std::string why = testsupport::missingCorpus(); !why.empty())
        GTEST_SKIP() << why;
    pauses.clear();
    gui_pause = countPause;
    // The suite runs once with each way a host may kill a thread.
    ThreadKill how = ThreadKill::cooperative;
    if (const char* mode = std::getenv("LIRVA_THREAD_KILL")) {
        ASSERT_TRUE(parseThreadKill(mode, how)) << "LIRVA_THREAD_KILL=" << mode;
    }
    setThreadKill(how);
    tree.dir("music");
    for (auto [from, to] : {std::pair{"subset-01-blocksize-4096.flac", "track one.flac"},
                            {"subset-56-jpg-picture.flac", "picture.flac"},
                            {"faulty-11-incorrect-metadata-block-length.flac", "damaged.flac"}})
        std::filesystem::copy_file(corpus(from), tree / (std::string("music/") + to));
    tree.file("music/broken.flac", "not a FLAC stream");
    device = std::make_unique<FifoDevice>(tree / "dsp");
    fdsBefore = open_descriptors();
}

void PlayerTest::TearDown()
{
    ExecThread::stopAll();
    device.reset();
    gui_pause = sleep;
    onPause = nullptr;
    setThreadKill(ThreadKill::cooperative);
}

void PlayerTest::play(const std::string& name)
{
    if (current() != tree / "music")
        enter(tree / "music");
    select(name);
}

bool PlayerTest::waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    return testwait::until(condition, limit);
}

bool PlayerTest::deviceSettled() const
{
    return execThread.load() == nullptr && device->settled();
}

bool PlayerTest::deviceSettledAfter(size_t plays, std::chrono::milliseconds limit) const
{
    return waitFor([&] { return device->plays().size() >= plays && deviceSettled(); }, limit);
}

bool PlayerTest::descriptorsRestored() const
{
    return waitFor([&] { return open_descriptors() == fdsBefore; });
}

bool PlayerTest::displayIdle()
{
    for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        if (!internals(*label).getText().empty())
            return false;
    return internals(*progress).getPerc() == 0;
}

std::string PlayerTest::corpus(const std::string& name)
{
    return std::string(LIRVA_CORPUS_DIR) + "/" + name;
}

int PlayerTest::walkTo(const std::string& path)
{
    namespace fs = std::filesystem;
    eMainloop& loop = eMainloop::instance();
    int posted = 0;
    fs::path at = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        at /= part;
        const std::string entry = (fs::is_directory(at) ? "/" : "") + part.string();
        std::optional<std::vector<eRCKey>> keys;
        const bool listed = waitFor([&] {
            eWidget* top = loop.modalWidget();
            if (top == nullptr)
                return false;
            std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
            return (keys = keysToEntry(*top, entry)).has_value();
        });
        if (!listed)
            return -1;
        keys->push_back(eRCKey::ok);
        for (eRCKey key : *keys)
            loop.postKey(key);
        posted += static_cast<int>(keys->size());
    }
    return posted;
}

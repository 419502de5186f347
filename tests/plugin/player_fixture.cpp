#include "player_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "audio_device.h"
#include "exec_thread.h"
#include "file_info.h"
#include "gui_pause.h"
#include "status_widgets.h"
#include "thread_private.h"
#include "widget_private.h"

std::vector<unsigned> PlayerTest::pauses;
std::function<void()> PlayerTest::onPause;

namespace {

unsigned countPause(unsigned seconds)
{
    PlayerTest::pauses.push_back(seconds);   // GUI thread only
    if (PlayerTest::onPause)
        PlayerTest::onPause();
    return 0;
}

}  // namespace

void PlayerTest::SetUp()
{
    if (!std::filesystem::exists(corpus("")))
        GTEST_SKIP() << "no FLAC corpus at " << corpus("");
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
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
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
    return waitFor([&] { return open_descriptors() == fdsBefore; }, std::chrono::seconds(2));
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

std::vector<eRCKey> PlayerTest::keysFromRootTo(const std::string& dir)
{
    std::vector<eRCKey> keys;
    std::string parent = "/";
    size_t start = 1;
    while (start < dir.size()) {
        size_t end = dir.find('/', start);
        std::string name = dir.substr(start, end == std::string::npos ? std::string::npos : end - start);
        dialog->dispfiles(parent);
        std::vector<std::string> listed = entries();
        size_t row = std::find(listed.begin(), listed.end(), "/" + name) - listed.begin();
        EXPECT_LT(row, listed.size()) << name << " is not listed in " << parent;
        keys.insert(keys.end(), row, eRCKey::down);
        keys.push_back(eRCKey::ok);
        parent = dir.substr(0, end);
        start = end == std::string::npos ? dir.size() : end + 1;
    }
    return keys;
}

#include "plugin_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "audio_device.h"
#include "command.h"
#include "entry_keys.h"
#include "file_info.h"
#include "gui_pause.h"
#include "open_descriptors.h"
#include "status_widgets.h"
#include "thread_private.h"
#include "tree_lock.h"

std::vector<std::string> DialogTest::entries() const
{
    std::vector<std::string> texts;
    for (int i = 0; i < internals(*dialog->fileList()).getCount(); ++i)
        texts.push_back(internals(*dialog->fileList()).entryAt(i)->getText());
    return texts;
}

bool DialogTest::displayIdle()
{
    for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        if (!internals(*label).getText().empty())
            return false;
    return internals(*progress).getPerc() == 0;
}

std::vector<unsigned> PlayerTest::pauses;
std::function<void()> PlayerTest::onPause;

void PlayerTest::SetUp()
{
    if (const std::string why = testsupport::missingCorpus(); !why.empty())
        GTEST_SKIP() << why;
    ThreadKill how = ThreadKill::cooperative;
    if (const char* kill = std::getenv("LIRVA_THREAD_KILL")) {
        ASSERT_TRUE(parseThreadKill(kill, how)) << "LIRVA_THREAD_KILL=" << kill;
    }
    setThreadKill(how);
    pauses.clear();
    gui_pause = [](unsigned seconds) {
        pauses.push_back(seconds);  // GUI thread only
        if (onPause)
            onPause();
        return 0u;
    };
    tree.dir("music");
    std::filesystem::copy_file(corpus("subset-01-blocksize-4096.flac"), music("track one.flac"));
    std::filesystem::copy_file(corpus("subset-56-jpg-picture.flac"), music("picture.flac"));
    tree.file("music/broken.flac", "not a FLAC stream");
    // Open for reading from the start, so that a play can open it at once.
    tree.fifo("dsp");
    deviceFd_ = open(devicePath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(deviceFd_, 0);
    audio_device_path = devicePath_.c_str();
    reader_ = std::thread([this] { readDevice(); });
    fdsBefore = open_descriptors();
}

void PlayerTest::TearDown()
{
    ExecThread::stopAll();
    quit_ = true;
    if (reader_.joinable())
        reader_.join();
    close(deviceFd_);
    audio_device_path = "/dev/dsp";
    gui_pause = sleep;
    onPause = nullptr;
    setThreadKill(ThreadKill::cooperative);
}

std::string PlayerTest::deviceBytes() const
{
    std::lock_guard<std::mutex> lock(deviceMutex_);
    return bytes_;
}

bool PlayerTest::deviceFull() const
{
    std::lock_guard<std::mutex> lock(deviceMutex_);
    int queued = 0;
    const int capacity = fcntl(deviceFd_, F_GETPIPE_SZ);
    return capacity > 0 && ioctl(deviceFd_, FIONREAD, &queued) == 0 && queued >= capacity;
}

void PlayerTest::readDevice()
{
    char buffer[16384];
    while (!quit_) {
        pollfd ready{deviceFd_, POLLIN, 0};
        if (held) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (poll(&ready, 1, 10) <= 0)
            continue;
        const ssize_t n = ::read(deviceFd_, buffer, paced ? 1764 : sizeof buffer);
        if (paced)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));  // 1764 bytes' time
        std::lock_guard<std::mutex> lock(deviceMutex_);
        if (n > 0) {
            bytes_.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            // The play closed the device and all is read. A fresh descriptor
            // wakes only for the next play.
            const int next = open(devicePath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            close(deviceFd_);
            deviceFd_ = next;
            ++devicePlays;
        }
    }
}

void PlayerTest::expectNothingLeft()
{
    EXPECT_TRUE(testwait::until([] {
        ExecThread::reclaimEnded();
        return ExecThread::count() == 0;
    })) << "a play thread hangs";
    EXPECT_EQ(file_info.is_playing, 0);
    EXPECT_EQ(file_info.decoder, nullptr);
    // The device's reader may not have read the end of the last play yet.
    EXPECT_TRUE(testwait::until([&] { return open_descriptors() == fdsBefore; }))
        << open_descriptors() << " descriptors open, " << fdsBefore << " before";
}

void PlayerTest::runWindow(const std::function<void()>& user)
{
    std::thread acting([&] {
        user();
        eMainloop::instance().postKey(eRCKey::exit);
    });
    EXPECT_EQ(plugin_exec(nullptr), 0);
    acting.join();
}

bool PlayerTest::press(std::vector<eRCKey> keys)
{
    eMainloop& loop = eMainloop::instance();
    const unsigned long handled = loop.keysHandled() + keys.size();
    for (eRCKey key : keys)
        loop.postKey(key);
    return testwait::until([&] { return loop.keysHandled() >= handled; });
}

bool PlayerTest::choose(const std::string& entry)
{
    std::optional<std::vector<eRCKey>> keys;
    const bool listed = testwait::until([&] {
        eWidget* top = eMainloop::instance().modalWidget();
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        return top != nullptr && (keys = keysToEntry(*top, entry)).has_value();
    });
    if (listed)
        keys->push_back(eRCKey::ok);
    return listed && press(*keys);
}

bool PlayerTest::walkTo(const std::string& path)
{
    std::filesystem::path at = "/";
    for (const std::filesystem::path& part : std::filesystem::path(path).relative_path())
        if (!choose((std::filesystem::is_directory(at /= part) ? "/" : "") + part.string()))
            return false;
    return true;
}

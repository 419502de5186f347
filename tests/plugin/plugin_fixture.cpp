#include "plugin_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

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

FifoDevice::FifoDevice(std::string path) : path_(std::move(path))
{
    // Open for reading from the start, so that a play can open it at once.
    if (mkfifo(path_.c_str(), 0600) != 0 || (fd_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0)
        throw std::runtime_error("cannot make the FIFO " + path_);
    audio_device_path = path_.c_str();
    reader_ = std::thread([this] { read(); });
}

FifoDevice::~FifoDevice()
{
    quit_ = true;
    reader_.join();
    close(fd_);
    audio_device_path = "/dev/dsp";
}

std::string FifoDevice::bytes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bytes_;
}

int FifoDevice::ended() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_;
}

bool FifoDevice::full() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    int queued = 0;
    const int capacity = fcntl(fd_, F_GETPIPE_SZ);
    return capacity > 0 && ioctl(fd_, FIONREAD, &queued) == 0 && queued >= capacity;
}

void FifoDevice::read()
{
    char buffer[16384];
    while (!quit_) {
        pollfd ready{fd_, POLLIN, 0};
        if (held) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (poll(&ready, 1, 10) <= 0)
            continue;
        // Paced: 10 ms of 16-bit stereo at 44100 Hz per 10 ms.
        const ssize_t n = ::read(fd_, buffer, paced ? 1764 : sizeof buffer);
        if (paced)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::lock_guard<std::mutex> lock(mutex_);
        if (n > 0) {
            bytes_.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            // The writer has closed and everything is read. A fresh
            // descriptor wakes only for the next writer.
            const int next = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            close(fd_);
            fd_ = next;
            ++ended_;
        }
    }
}

std::vector<unsigned> PlayerTest::pauses;
std::function<void()> PlayerTest::onPause;

void PlayerTest::SetUp()
{
    if (const std::string why = testsupport::missingCorpus(); !why.empty())
        GTEST_SKIP() << why;
    pauses.clear();
    gui_pause = [](unsigned seconds) {
        pauses.push_back(seconds);  // GUI thread only
        if (onPause)
            onPause();
        return 0u;
    };
    ThreadKill how = ThreadKill::cooperative;
    if (const char* kill = std::getenv("LIRVA_THREAD_KILL")) {
        ASSERT_TRUE(parseThreadKill(kill, how)) << "LIRVA_THREAD_KILL=" << kill;
    }
    setThreadKill(how);
    tree.dir("music");
    std::filesystem::copy_file(corpus("subset-01-blocksize-4096.flac"), music("track one.flac"));
    std::filesystem::copy_file(corpus("subset-56-jpg-picture.flac"), music("picture.flac"));
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

std::string PlayerTest::corpus(const std::string& name)
{
    return std::string(LIRVA_CORPUS_DIR) + "/" + name;
}

void PlayerTest::play(const std::string& name)
{
    if (current() != tree / "music")
        enter(tree / "music");
    select(name);
}

bool DialogTest::displayIdle()
{
    for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        if (!internals(*label).getText().empty())
            return false;
    return internals(*progress).getPerc() == 0;
}

void PlayerTest::expectNothingLeft()
{
    EXPECT_TRUE(testwait::until([] {
        ExecThread::reclaimEnded();
        return ExecThread::count() == 0;
    })) << "a play thread hangs";
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_EQ(file_info.is_playing, 0);
    EXPECT_EQ(file_info.decoder, nullptr);
    EXPECT_FALSE(audio_device_is_open());
    // The device's reader may still hold a descriptor of a play it has not
    // read to its end.
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

bool PlayerTest::press(eRCKey key)
{
    eMainloop& loop = eMainloop::instance();
    const unsigned long handled = loop.keysHandled() + 1;
    loop.postKey(key);
    return testwait::until([&] { return loop.keysHandled() >= handled; });
}

bool PlayerTest::choose(const std::string& entry)
{
    eMainloop& loop = eMainloop::instance();
    std::optional<std::vector<eRCKey>> keys;
    const bool listed = testwait::until([&] {
        eWidget* top = loop.modalWidget();
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        return top != nullptr && (keys = keysToEntry(*top, entry)).has_value();
    });
    if (!listed)
        return false;
    keys->push_back(eRCKey::ok);
    for (eRCKey key : *keys)
        if (!press(key))
            return false;
    return true;
}

bool PlayerTest::walkTo(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path at = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        at /= part;
        if (!choose((fs::is_directory(at) ? "/" : "") + part.string()))
            return false;
    }
    return true;
}

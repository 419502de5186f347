#ifndef LIRVA_TESTS_PLUGIN_FIXTURE_H
#define LIRVA_TESTS_PLUGIN_FIXTURE_H

#include <fcntl.h>
#include <gmock/gmock.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include <FLAC/stream_decoder.h>

#include "audio_device.h"
#include "command.h"
#include "emainloop.h"
#include "entry_keys.h"
#include "exec_thread.h"
#include "file_info.h"
#include "gui_pause.h"
#include "lirva_dialog.h"
#include "open_descriptors.h"
#include "status_widgets.h"
#include "temp_tree.h"
#include "thread_private.h"
#include "tree_lock.h"
#include "wait.h"
#include "widget_private.h"

extern "C" int plugin_exec(void*);

// A player window (not shown) over a temporary directory tree, driven
// directly on the test's thread.
class DialogTest : public ::testing::Test {
protected:
    ~DialogTest() override { ExecThread::stopAll(); }

    std::vector<std::string> entries() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < internals(*dialog->fileList()).getCount(); ++i)
            texts.push_back(internals(*dialog->fileList()).entryAt(i)->getText());
        return texts;
    }
    // As if the user had pressed OK on an entry with this text.
    void select(const std::string& text) { dialog->selectedItem(new eListBoxEntryText(&scratch, eString(text))); }
    // Enters an absolute directory from "/" by its full path.
    void enter(const std::string& absolute)
    {
        dialog->displayroot();
        select(absolute);
    }
    std::string current() const { return dialog->currentDirectory(); }
    // The time captions and the track lines empty, the progress bar at 0.
    static bool displayIdle()
    {
        for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET, lb_title, lb_line3})
            if (!internals(*label).getText().empty())
                return false;
        return internals(*progress).getPerc() == 0;
    }

    TempTree tree;
    std::unique_ptr<eLirvaDialog> dialog = std::make_unique<eLirvaDialog>();
    eListBox<eListBoxEntryText> scratch{nullptr};
};

// A player over a folder "music" of corpus files: "track one.flac" (7 s,
// 16-bit stereo 44100 Hz), "picture.flac" (a large picture before the audio)
// and "zz broken.flac" (not FLAC at all; the last of the folder, so a run
// that starts there ends there). It plays into a FIFO that stands in
// for the audio device, read by a thread that keeps every byte: held, it
// reads nothing, so a play blocks in write() once the pipe is full, as on a
// real device; paced, it reads a quarter as fast as 16-bit stereo at 44100 Hz
// plays, so that a play lasts long after it has been seen playing.
// The GUI thread's pauses after a stop are counted, not spent. The host
// kills threads as LIRVA_THREAD_KILL says.
class PlayerTest : public DialogTest {
public:
    inline static std::vector<unsigned> pauses;   // seconds asked of each pause
    inline static std::function<void()> onPause;  // runs in place of each pause

protected:
    void SetUp() override
    {
        if (const std::string why = testsupport::missingCorpus(); !why.empty())
            GTEST_SKIP() << why;
        ThreadKill how = ThreadKill::cooperative;
        const char* kill = std::getenv("LIRVA_THREAD_KILL");
        ASSERT_TRUE(kill == nullptr || parseThreadKill(kill, how)) << "LIRVA_THREAD_KILL=" << kill;
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
        tree.file("music/zz broken.flac", "not a FLAC stream");
        // Open for reading from the start, so that a play can open it at once.
        ASSERT_EQ(mkfifo(devicePath.c_str(), 0600), 0);
        ASSERT_GE(deviceFd_ = open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), 0);
        audio_device_path = devicePath.c_str();
        ASSERT_GE(closes_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC), 0);
        // Opens too: the kernel merges a close with the one before it
        // unless another event lies between them.
        ASSERT_GE(inotify_add_watch(closes_, devicePath.c_str(), IN_OPEN | IN_CLOSE_WRITE), 0);
        reader_ = std::thread([this] { readDevice(); });
        fdsBefore = open_descriptors();
    }
    void TearDown() override
    {
        ExecThread::stopAll();
        quit_ = true;
        if (reader_.joinable())
            reader_.join();
        close(deviceFd_);
        close(closes_);
        audio_device_path = "/dev/dsp";
        gui_pause = sleep;
        onPause = nullptr;
        setThreadKill(ThreadKill::cooperative);
    }

    std::string music(const std::string& name) const { return tree / ("music/" + name); }
    static std::string corpus(const std::string& name) { return std::string(LIRVA_CORPUS_DIR) + "/" + name; }
    // The bytes the device should receive for `path`: libFLAC's decode as
    // 16-bit big-endian stereo, narrower samples widened, mono on both
    // channels (what the chain makes exactly of such streams).
    static std::string expectedBytes(const std::string& path)
    {
        std::string out;
        const auto write = [](const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const buffer[],
                              void* data) {
            const unsigned shift = 16 - frame->header.bits_per_sample, channels = frame->header.channels;
            for (unsigned i = 0; i < frame->header.blocksize; ++i)
                for (unsigned c = 0; c < 2; ++c) {
                    const auto v = static_cast<uint16_t>(buffer[channels == 1 ? 0 : c][i] * (1 << shift));
                    static_cast<std::string*>(data)->append({static_cast<char>(v >> 8), static_cast<char>(v & 0xff)});
                }
            return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
        };
        const auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {};
        FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
        EXPECT_EQ(FLAC__stream_decoder_init_file(d, path.c_str(), write, nullptr, error, &out),
                  FLAC__STREAM_DECODER_INIT_STATUS_OK);
        EXPECT_TRUE(FLAC__stream_decoder_process_until_end_of_stream(d));
        FLAC__stream_decoder_delete(d);
        return out;
    }
    std::string deviceBytes() const
    {
        std::lock_guard<std::mutex> lock(deviceMutex_);
        return bytes_;
    }
    // The device's sessions so far: each play's open for writing, closed.
    int deviceSessions()
    {
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = ::read(closes_, events, sizeof events)) > 0;)
            for (char* at = events; at < events + n; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
                sessions_ += (reinterpret_cast<inotify_event*>(at)->mask & IN_CLOSE_WRITE) != 0;
        return sessions_;
    }
    bool deviceFull() const
    {
        std::lock_guard<std::mutex> lock(deviceMutex_);
        int queued = 0;
        const int capacity = fcntl(deviceFd_, F_GETPIPE_SZ);
        return capacity > 0 && ioctl(deviceFd_, FIONREAD, &queued) == 0 && queued >= capacity;
    }
    // Everything written to the device so far has been read.
    bool deviceDrained() const
    {
        std::lock_guard<std::mutex> lock(deviceMutex_);
        int queued = 0;
        return ioctl(deviceFd_, FIONREAD, &queued) == 0 && queued == 0;
    }
    // The most the device holds that its reader has not read yet.
    size_t deviceCapacity() const
    {
        std::lock_guard<std::mutex> lock(deviceMutex_);
        return static_cast<size_t>(std::max(0, fcntl(deviceFd_, F_GETPIPE_SZ)));
    }
    // The play is over and nothing of it is left: no thread, no session, no
    // descriptor beyond those open before the test (the device's reader may
    // not have read the end of the last play yet).
    void expectNothingLeft()
    {
        EXPECT_TRUE(testwait::until([] {
            ExecThread::reclaimEnded();
            return ExecThread::count() == 0;
        })) << "a play thread hangs";
        EXPECT_EQ(file_info.is_playing, 0);
        EXPECT_EQ(file_info.decoder, nullptr);
        EXPECT_TRUE(testwait::until([&] { return open_descriptors() == fdsBefore; }))
            << open_descriptors() << " descriptors open, " << fdsBefore << " before";
    }

    // Runs the window through the plug-in's entry point on this thread while
    // `user` acts on it from another; then leaves it.
    static void runWindow(const std::function<void()>& user)
    {
        std::thread acting([&] {
            user();
            eMainloop::instance().postKey(eRCKey::exit);
        });
        EXPECT_EQ(plugin_exec(nullptr), 0);
        acting.join();
    }
    // For the user: presses the keys and waits until the window has handled
    // them; false when it never does (a hang).
    static bool press(std::vector<eRCKey> keys)
    {
        eMainloop& loop = eMainloop::instance();
        const unsigned long handled = loop.keysHandled() + keys.size();
        for (eRCKey key : keys)
            loop.postKey(key);
        return testwait::until([&] { return loop.keysHandled() >= handled; });
    }
    // For the user: once the window lists `entry`, keys onto it and OK.
    static bool choose(const std::string& entry)
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
    // For the user: walks from "/" to the absolute `path` by name.
    static bool walkTo(const std::string& path)
    {
        std::filesystem::path at = "/";
        for (const std::filesystem::path& part : std::filesystem::path(path).relative_path())
            if (!choose((std::filesystem::is_directory(at /= part) ? "/" : "") + part.string()))
                return false;
        return true;
    }

    std::atomic<bool> held{false};
    std::atomic<bool> paced{false};
    std::atomic<int> devicePlays{0};  // plays that closed the device, all their bytes read
    int fdsBefore = 0;
    const std::string devicePath = tree / "dsp";

private:
    void readDevice()
    {
        char buffer[16384];
        while (!quit_) {
            pollfd ready{deviceFd_, POLLIN, 0};
            if (held || poll(&ready, 1, 10) <= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(paced ? 10 : 0));
            // Read and kept under the lock: what the pipe no longer holds
            // is in bytes_ (deviceDrained()).
            std::lock_guard<std::mutex> lock(deviceMutex_);
            const ssize_t n = ::read(deviceFd_, buffer, paced ? 441 : sizeof buffer);
            if (n > 0) {
                bytes_.append(buffer, static_cast<size_t>(n));
            } else if (n == 0) {
                // The play closed the device and all is read. A fresh
                // descriptor wakes only for the next play.
                const int next = open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                close(deviceFd_);
                deviceFd_ = next;
                ++devicePlays;
            }
        }
    }

    mutable std::mutex deviceMutex_;
    int deviceFd_ = -1;
    int closes_ = -1;  // inotify: the device closed after writing
    int sessions_ = 0;
    std::string bytes_;
    std::atomic<bool> quit_{false};
    std::thread reader_;
};

#endif

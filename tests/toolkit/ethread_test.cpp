#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "ethread.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A pipe whose buffer is full, so the next blocking write() blocks.
struct FullPipe {
    int fds[2] = {-1, -1};

    FullPipe()
    {
        if (pipe(fds) != 0)
            return;
        fcntl(fds[1], F_SETFL, O_NONBLOCK);
        const std::vector<char> chunk(4096, 'x');
        while (write(fds[1], chunk.data(), chunk.size()) > 0) {
        }
        fcntl(fds[1], F_SETFL, 0);
    }
    ~FullPipe()
    {
        close(fds[0]);
        close(fds[1]);
    }
};

// Writes to a full pipe like the sample writer writes to the device: each
// interrupted or partial write is followed by a look at the stop request.
class BlockedWriter : public eThread {
public:
    explicit BlockedWriter(int fd) : fd_(fd) {}
    ~BlockedWriter() override { kill(true); }   // before the members go

    std::atomic<bool> writing{false};
    std::atomic<bool> sawStop{false};
    std::atomic<int> finishedCalls{0};
    std::atomic<bool> finishedDone{false};

protected:
    void thread() override
    {
        const std::vector<char> chunk(4096, 'y');
        writing = true;
        while (!stopRequested()) {
            const ssize_t n = write(fd_, chunk.data(), chunk.size());
            if (n < 0 && errno != EINTR)
                return;
        }
        sawStop = true;
    }
    void thread_finished() override
    {
        ++finishedCalls;
        std::this_thread::sleep_for(5ms);   // kill() must wait for this
        finishedDone = true;
    }

private:
    int fd_;
};

// Runs a function as thread(), counting thread_finished().
class Task : public eThread {
public:
    template <class F>
    explicit Task(F f) : body_(std::move(f)) {}
    ~Task() override { kill(true); }
    std::atomic<int> finishedCalls{0};

protected:
    void thread() override { body_(); }
    void thread_finished() override { ++finishedCalls; }

private:
    std::function<void()> body_;
};

void waitUntil(const std::atomic<bool>& flag)
{
    const auto deadline = Clock::now() + 2s;
    while (!flag && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
}

} // namespace

TEST(eThread, KillStopsAWriteBlockedOnAFullPipeQuickly)
{
    FullPipe pipe;
    ASSERT_GE(pipe.fds[1], 0);
    BlockedWriter writer(pipe.fds[1]);
    ASSERT_EQ(writer.run(0, 0), 0);
    waitUntil(writer.writing);
    std::this_thread::sleep_for(10ms);   // let it block inside write()
    EXPECT_TRUE(writer.thread_running());

    const auto begin = Clock::now();
    writer.kill(true);
    const auto took = Clock::now() - begin;

    EXPECT_LT(took, 50ms);
    EXPECT_TRUE(writer.sawStop);
    EXPECT_TRUE(writer.finishedDone);   // kill returned after thread_finished ended
    EXPECT_EQ(writer.finishedCalls, 1);
    EXPECT_FALSE(writer.thread_running());

    writer.kill(true);   // again: nothing happens
    writer.wait();
    EXPECT_EQ(writer.finishedCalls, 1);
}

TEST(eThread, KillFromTwoThreadsAtOnce)
{
    FullPipe pipe;
    BlockedWriter writer(pipe.fds[1]);
    writer.run();
    waitUntil(writer.writing);

    std::thread first([&] { writer.kill(true); });
    std::thread second([&] { writer.kill(true); });
    first.join();
    second.join();
    EXPECT_TRUE(writer.finishedDone);
    EXPECT_EQ(writer.finishedCalls, 1);
}

TEST(eThread, KillIsHarmlessBeforeRunAndAfterTheEnd)
{
    Task never([] {});
    never.kill(true);
    never.wait();
    EXPECT_FALSE(never.thread_running());
    EXPECT_EQ(never.finishedCalls, 0);

    Task quick([] {});
    quick.run();
    const auto deadline = Clock::now() + 2s;
    while (quick.thread_running() && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_FALSE(quick.thread_running());
    quick.kill(true);
    quick.kill(true);
    EXPECT_EQ(quick.finishedCalls, 1);
    EXPECT_EQ(quick.run(), -1);   // a thread runs once
}

TEST(eThread, StopRequestIsPerThread)
{
    EXPECT_FALSE(eThread::stopRequested());

    // wait() lets the thread run to its end without a stop request.
    std::atomic<bool> askedToStop{true};
    Task task([&] { askedToStop = eThread::stopRequested(); });
    task.run();
    task.wait();
    EXPECT_FALSE(askedToStop);
    EXPECT_EQ(task.finishedCalls, 1);
    EXPECT_FALSE(eThread::stopRequested());   // still false on the main thread
}

TEST(eThread, KillFromTheThreadItselfOnlySetsTheRequest)
{
    class SelfStopper : public eThread {
    public:
        ~SelfStopper() override { kill(true); }
        std::atomic<bool> before{true}, after{false};

    protected:
        void thread() override
        {
            before = stopRequested();
            kill(true);   // must not wait for itself
            after = stopRequested();
        }
    };
    SelfStopper stopper;
    stopper.run();
    stopper.wait();
    EXPECT_FALSE(stopper.before);
    EXPECT_TRUE(stopper.after);
}

TEST(eThread, DestructorStopsARunningThread)
{
    FullPipe pipe;
    auto* writer = new BlockedWriter(pipe.fds[1]);
    writer->run();
    waitUntil(writer->writing);
    delete writer;   // returns only once the thread is gone
    SUCCEED();
}

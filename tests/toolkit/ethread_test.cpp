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

// Runs `body` as thread(); counts thread_finished(), which takes a moment
// so that returning before it ended would show.
class Task : public eThread {
public:
    explicit Task(std::function<void(Task&)> body) : body_(std::move(body)) {}
    ~Task() override { kill(true); }   // while the members still exist

    std::atomic<int> finishedCalls{0};
    std::atomic<bool> finishedDone{false};
    std::atomic<bool> busy{false};

protected:
    void thread() override { body_(*this); }
    void thread_finished() override
    {
        ++finishedCalls;
        std::this_thread::sleep_for(3ms);
        finishedDone = true;
    }

private:
    std::function<void(Task&)> body_;
};

// A thread blocked in write() to a full pipe; it stops like the sample
// writer: after EINTR or a partial count it looks at the stop request.
struct BlockedWriter {
    int fds[2] = {-1, -1};
    std::atomic<bool> sawStop{false};
    Task task{[this](Task& self) {
        const std::vector<char> chunk(4096, 'y');
        self.busy = true;
        while (!eThread::stopRequested()) {
            if (write(fds[1], chunk.data(), chunk.size()) < 0 && errno != EINTR)
                return;
        }
        sawStop = true;
    }};

    BlockedWriter()
    {
        EXPECT_EQ(pipe(fds), 0);
        fcntl(fds[1], F_SETFL, O_NONBLOCK);
        const std::vector<char> chunk(4096, 'x');
        while (write(fds[1], chunk.data(), chunk.size()) > 0) {
        }
        fcntl(fds[1], F_SETFL, 0);
        task.run(0, 0);
        const auto deadline = Clock::now() + 2s;
        while (!task.busy && Clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(5ms);   // into the blocking write()
    }
    ~BlockedWriter()
    {
        task.kill(true);
        close(fds[0]);
        close(fds[1]);
    }
};

} // namespace

// Two threads kill at once (Stop and leaving the window): both return only
// after thread() and thread_finished() have ended, and soon.
TEST(eThread, KillsStopABlockedWriteSoonAndWaitForTheEnd)
{
    BlockedWriter writer;
    ASSERT_TRUE(writer.task.thread_running());

    std::atomic<int> sawEnd{0};
    auto killer = [&] {
        const auto begin = Clock::now();
        writer.task.kill(true);
        EXPECT_LT(Clock::now() - begin, 50ms);
        sawEnd += writer.task.finishedDone ? 1 : 0;
    };
    std::thread first(killer), second(killer);
    first.join();
    second.join();
    EXPECT_EQ(sawEnd, 2);
    EXPECT_TRUE(writer.sawStop);
    EXPECT_FALSE(writer.task.thread_running());
    writer.task.kill(true);   // again: nothing more happens
    writer.task.wait();
    EXPECT_EQ(writer.task.finishedCalls, 1);
}

TEST(eThread, KillIsHarmlessBeforeRunAndAfterTheEnd)
{
    Task never([](Task&) {});
    never.kill(true);
    never.wait();
    EXPECT_EQ(never.finishedCalls, 0);

    Task quick([](Task&) {});
    quick.run();
    const auto deadline = Clock::now() + 2s;
    while (quick.thread_running() && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    quick.kill(true);
    EXPECT_EQ(quick.finishedCalls, 1);
    EXPECT_EQ(quick.run(), -1);   // a thread runs once
}

TEST(eThread, StopRequestBelongsToTheKilledThread)
{
    EXPECT_FALSE(eThread::stopRequested());

    // wait() lets the thread end by itself; a kill from the thread itself
    // only sets its own request.
    std::atomic<bool> before{true}, after{false};
    Task task([&](Task& self) {
        before = eThread::stopRequested();
        self.kill(true);
        after = eThread::stopRequested();
    });
    task.run();
    task.wait();
    EXPECT_FALSE(before);
    EXPECT_TRUE(after);
    EXPECT_EQ(task.finishedCalls, 1);
    EXPECT_FALSE(eThread::stopRequested());
}

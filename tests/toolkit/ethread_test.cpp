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
#include "thread_private.h"
#include "wait.h"

namespace {

using namespace std::chrono_literals;

// Runs `body` as thread(); counts thread_finished(), which takes a moment
// so that returning before it ended would show.
class Task : public eThread {
public:
    explicit Task(std::function<void(Task&)> body) : body_(std::move(body)) { }
    ~Task() override { kill(true); }  // while the members still exist

    std::atomic<int> finishedCalls{0};
    std::atomic<bool> finishedDone{false};
    std::atomic<bool> busy{false};
    std::atomic<pid_t> tid{0};

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
// writer: after EINTR or a partial count it looks at its stop request, set
// before the kill.
struct BlockedWriter {
    int fds[2] = {-1, -1};
    std::atomic<bool> stop{false};
    std::atomic<bool> sawStop{false};
    Task task{[this](Task& self) {
        const std::vector<char> chunk(4096, 'y');
        self.tid = testwait::this_thread_id();
        self.busy = true;
        while (!stop) {
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
        while (write(fds[1], chunk.data(), chunk.size()) > 0) { }
        fcntl(fds[1], F_SETFL, 0);
        task.run(0, 0);
        // The pipe is full: once the thread sleeps, it sleeps in write().
        EXPECT_TRUE(testwait::until([&] { return task.busy && testwait::asleep(task.tid); }))
            << "the writer never blocked (a hang)";
    }
    ~BlockedWriter()
    {
        stop = true;
        task.kill(true);
        close(fds[0]);
        close(fds[1]);
    }
};

}  // namespace

// Two threads kill at once (Stop and leaving the window): both return only
// after thread() and thread_finished() have ended. A kill that does not wake
// the blocked write never returns (the suite's time-out catches that).
TEST(eThread, KillsStopABlockedWriteAndWaitForTheEnd)
{
    BlockedWriter writer;
    ASSERT_TRUE(threadRunning(writer.task));
    writer.stop = true;

    std::atomic<int> sawEnd{0};
    auto killer = [&] {
        writer.task.kill(true);
        sawEnd += writer.task.finishedDone ? 1 : 0;
    };
    std::thread first(killer), second(killer);
    first.join();
    second.join();
    EXPECT_EQ(sawEnd, 2);
    EXPECT_TRUE(writer.sawStop);
    EXPECT_FALSE(threadRunning(writer.task));
    writer.task.kill(true);  // again: nothing more happens
    waitForThread(writer.task);
    EXPECT_EQ(writer.task.finishedCalls, 1);
}

TEST(eThread, KillIsHarmlessBeforeRunAndAfterTheEnd)
{
    Task never([](Task&) {});
    never.kill(true);
    waitForThread(never);
    EXPECT_EQ(never.finishedCalls, 0);

    Task quick([](Task&) {});
    quick.run();
    EXPECT_TRUE(testwait::until([&] { return !threadRunning(quick); })) << "the thread hangs";
    quick.kill(true);
    EXPECT_EQ(quick.finishedCalls, 1);
    EXPECT_EQ(quick.run(), -1);  // a thread runs once
}

// A kill from the thread itself does nothing: a thread ends by returning.
TEST(eThread, AKillFromTheThreadItselfLetsItRunOn)
{
    std::atomic<bool> after{false};
    Task task([&](Task& self) {
        self.kill(true);
        after = true;
    });
    task.run();
    waitForThread(task);
    EXPECT_TRUE(after);
    EXPECT_EQ(task.finishedCalls, 1);
}

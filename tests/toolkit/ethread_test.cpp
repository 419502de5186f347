#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "ethread.h"
#include "thread_private.h"
#include "wait.h"

namespace {

// Runs `body` as thread(); counts thread_finished(), which takes a moment
// so that a kill returning before it ended would show.
struct Task : eThread {
    explicit Task(std::function<void(Task&)> body) : body(std::move(body)) { }
    ~Task() override { kill(true); }  // while the members still exist
    void thread() override { body(*this); }
    void thread_finished() override
    {
        ++finishedCalls;
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        finishedDone = true;
    }
    std::function<void(Task&)> body;
    std::atomic<int> finishedCalls{0};
    std::atomic<bool> finishedDone{false};
};

// Every case with both ways a kill may end a thread.
struct eThreadKill : ::testing::TestWithParam<ThreadKill> {
    void SetUp() override
    {
        if (GetParam() == ThreadKill::cancel && *LIRVA_TEST_CANCEL_SKIP)
            GTEST_SKIP() << LIRVA_TEST_CANCEL_SKIP;
        setThreadKill(GetParam());
    }
};

}  // namespace

// Stop and leaving the window may kill at once: both kills return only after
// thread() and thread_finished() have ended. A kill that cannot end a thread
// blocked in a system call never returns (the suite's time-out catches that).
// A kill before run(), or from the thread itself, does nothing.
TEST_P(eThreadKill, KillsFromTwoThreadsEndABlockedCallAndWaitForTheFinish)
{
    Task never([](Task&) {}), self([](Task&me) { me.kill(true); });
    never.kill(true);
    ASSERT_EQ(self.run(), 0);
    waitForThread(self);
    EXPECT_EQ(never.finishedCalls + self.finishedCalls, 1);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::atomic<pid_t> tid{0};
    Task task([&](Task&) {
        tid = testwait::this_thread_id();
        char byte;
        (void)!read(fds[0], &byte, 1);  // as the sample writer: woken, it ends
    });
    ASSERT_EQ(task.run(0, 0), 0);
    ASSERT_TRUE(testwait::until([&] { return tid != 0 && testwait::asleep(tid); })) << "never blocked (a hang)";
    std::atomic<int> sawFinish{0};
    auto kill = [&] {
        task.kill(true);
        sawFinish += task.finishedDone;
    };
    std::thread first(kill), second(kill);
    first.join();
    second.join();
    EXPECT_EQ(sawFinish, 2);
    EXPECT_EQ(task.finishedCalls, 1);
    close(fds[0]);
    close(fds[1]);
}

INSTANTIATE_TEST_SUITE_P(By, eThreadKill, ::testing::Values(ThreadKill::cooperative, ThreadKill::cancel),
                         [](const auto& info) { return info.param == ThreadKill::cancel ? "cancel" : "cooperative"; });

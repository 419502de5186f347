#ifndef LIRVA_TESTS_WAIT_H
#define LIRVA_TESTS_WAIT_H

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace testwait {

// The bound of every wait in the tests: long enough that only a hang
// reaches it, on a machine as busy as it gets.
constexpr std::chrono::seconds hang_bound{60};

// Polls until `condition` holds; false when `bound` passed first (a hang).
template <class Condition>
bool until(Condition condition, std::chrono::milliseconds bound = hang_bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The calling thread's kernel id, for asleep() in another thread.
inline pid_t this_thread_id()
{
    return static_cast<pid_t>(gettid());
}

// Whether thread `tid` of this process sleeps in the kernel (a blocking
// call such as write() to a full pipe, or a paced device's wait): its state
// in /proc is "S". Callers know where the thread can block.
inline bool asleep(pid_t tid)
{
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto after_name = line.rfind(')');
    return after_name != std::string::npos && line.size() > after_name + 2 && line[after_name + 2] == 'S';
}

}  // namespace testwait

#endif

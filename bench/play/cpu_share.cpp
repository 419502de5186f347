// lirva-cpu-share: runs a command and reports the processor time it used
// (user + system, its own and its children's) as a share of its wall-clock
// time, in percent of one core.
//
//   lirva-cpu-share COMMAND [ARGS...]
//
// Exits with the command's status; the figures go to standard error.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

double seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: lirva-cpu-share COMMAND [ARGS...]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        perror("lirva-cpu-share: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        perror("lirva-cpu-share: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    // wait4 gives the child's own usage, which includes its waited-for children.
    if (wait4(child, &status, 0, &usage) < 0) {
        perror("lirva-cpu-share: wait");
        return 2;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double user = seconds(usage.ru_utime), sys = seconds(usage.ru_stime);
    fprintf(stderr, "wall %.3f s, user %.3f s, sys %.3f s, cpu %.2f%% of one core\n", wall, user, sys,
            wall > 0 ? 100.0 * (user + sys) / wall : 0.0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

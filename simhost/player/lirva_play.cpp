// lirva-play: plays one FLAC file through the engine exactly as the plug-in's
// play thread does (device set-up, then the decoder session), with the status
// widgets in a window that is never shown.
//
//   lirva-play [-v] FILE
//
// -v prints the status line (time labels and bar) whenever it changes, and a
// summary at the end. Ctrl-C stops the play the way the Stop key does.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include <audio_device.h>
#include <decoder_session.h>
#include <ethread.h>
#include <file_info.h>

#include "status_window.h"

namespace {

std::atomic<bool> interrupted{false};

void on_interrupt(int)
{
    interrupted = true;
}

class PlayThread : public eThread {
public:
    explicit PlayThread(std::string path) : path_(std::move(path)) {}
    ~PlayThread() override { kill(true); }

protected:
    void thread() override
    {
        audio_device_open();
        play_file(path_.c_str());
    }
    void thread_finished() override
    {
        // A stop while the session was open leaves it for this close.
        if (file_info.is_playing)
            decoder_destructor();
    }

private:
    std::string path_;
};

int usage()
{
    fprintf(stderr, "usage: lirva-play [-v] FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool verbose = false;
    int opt;
    while ((opt = getopt(argc, argv, "v")) != -1) {
        if (opt != 'v')
            return usage();
        verbose = true;
    }
    if (optind != argc - 1)
        return usage();
    const char* path = argv[optind];

    // The engine plays what it cannot open as silence of no length; say so.
    const bool readable = access(path, R_OK) == 0;
    if (!readable)
        fprintf(stderr, "lirva-play: cannot read %s\n", path);

    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    StatusWindow status;
    PlayThread player(path);
    std::string shown = status.describe();
    if (verbose)
        printf("%s\n", shown.c_str());

    player.run(0, 0);
    while (player.thread_running()) {
        if (interrupted) {
            player.kill(true);
            break;
        }
        usleep(verbose ? 10000 : 50000);
        if (verbose && status.describe() != shown) {
            shown = status.describe();
            printf("%s\n", shown.c_str());
            fflush(stdout);
        }
    }
    player.wait();

    if (verbose) {
        printf("%s\n", status.describe().c_str());
        printf("samples %u position %.3f%s\n", file_info.samples_played,
               static_cast<double>(file_info.position_sec), interrupted ? " stopped" : "");
    }
    return readable ? 0 : 1;
}

// lirva-play: plays one FLAC file on the plug-in's own play thread
// (ExecThread: device set-up, then the decoder session), with the status
// widgets in a window that is never shown.
//
//   lirva-play [-v] FILE
//
// -v prints the status line (time labels and bar) whenever it changes, and a
// summary at the end. Ctrl-C stops the play the way the Stop key does. A
// play that was not played out nor stopped says why on stderr and exits 1.
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include <exec_thread.h>
#include <file_info.h>
#include <play_outcome.h>

#include "status_window.h"

namespace {

std::atomic<bool> interrupted{false};

void on_interrupt(int)
{
    interrupted = true;
}

int usage()
{
    fprintf(stderr, "usage: lirva-play [-v] FILE\n");
    return 2;
}

// Why the play ended, when it was not played out or stopped; null otherwise.
const char* why_not_played(PlayOutcome outcome)
{
    switch (outcome) {
    case PlayOutcome::played:
    case PlayOutcome::stopped:
        return nullptr;
    case PlayOutcome::no_device:
        return "no audio device: cannot open /dev/dsp";
    case PlayOutcome::device_refused:
        return "the audio device refused the format (16-bit samples at a rate from 1000 to 192000 Hz)";
    case PlayOutcome::unreadable:
        return "cannot read the file";
    case PlayOutcome::not_flac:
        return "not a FLAC file, or its metadata is damaged";
    case PlayOutcome::no_frame:
        return "no playable frame found in 16 MiB";
    case PlayOutcome::unplayable:
        return "the audio device cannot play the stream's rate or channels";
    case PlayOutcome::device_failed:
        return "the audio device failed a write";
    case PlayOutcome::none:
        break;
    }
    return "the play ended for no known reason";
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

    struct sigaction action { };
    action.sa_handler = on_interrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // Woken by the end of the play, by Ctrl-C (ppoll() fails with EINTR), and
    // with -v every 10 ms to look at the status widgets.
    const int ended = eventfd(0, EFD_CLOEXEC);
    StatusWindow status;
    auto* player = new ExecThread(path);  // reclaimed by stopAll() below
    player->finished.connect([ended](int) {
        const uint64_t one = 1;
        if (write(ended, &one, sizeof one) < 0) {
            // The main thread then notices the end at its next status poll.
        }
    });
    std::string shown = status.describe();
    if (verbose)
        printf("%s\n", shown.c_str());

    // Ctrl-C is let through only inside ppoll(), so it cannot slip in between
    // the check below and the wait. The play thread inherits the block.
    sigset_t stop_signals, unblocked;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, &unblocked);

    player->start();
    const timespec status_poll{0, 10 * 1000 * 1000};
    for (;;) {
        if (interrupted) {
            player->stop();
            break;
        }
        pollfd wake{ended, POLLIN, 0};
        // Once the end is signalled the eventfd stays readable: leave the
        // loop then instead of polling it again until the thread is gone.
        if (ppoll(&wake, 1, verbose ? &status_poll : nullptr, &unblocked) > 0)
            break;
        if (verbose && status.describe() != shown) {
            shown = status.describe();
            printf("%s\n", shown.c_str());
            fflush(stdout);
        }
    }
    ExecThread::stopAll();  // waits for the thread's end
    close(ended);

    if (verbose) {
        printf("%s\n", status.describe().c_str());
        printf("samples %llu position %.3f%s\n", static_cast<unsigned long long>(file_info.samples_played),
               static_cast<double>(file_info.position_sec),
               interrupted ? " stopped" : "");
    }
    const char* why = interrupted ? nullptr : why_not_played(last_play_outcome());
    if (why != nullptr)
        fprintf(stderr, "lirva-play: %s: %s\n", path, why);
    return why == nullptr ? 0 : 1;
}

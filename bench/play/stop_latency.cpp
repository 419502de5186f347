// lirva-stop-latency: how long the blue key takes to bring the player window
// back to its idle display while a file plays.
//
//   lirva-stop-latency [-n STOPS] [-s SEED] FILE.flac
//
// The window is the plug-in's own, shown but without a main loop; keys are
// delivered with dispatchKey as the host's loop would. Each round selects the
// file, waits until its session is open, lets it play a random 50-300 ms and
// times the blue key until the time labels are empty and the bar is at 0.
// Run it with the simulated device preloaded at real-time speed, so that the
// play thread is mostly blocked in a paced device write when it is stopped.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "exec_thread.h"
#include "file_info.h"
#include "gui_pause.h"
#include "lirva_dialog.h"
#include "stop_timing.h"
#include "status_widgets.h"
#include "widget_private.h"

namespace {

using namespace stop_timing;
constexpr auto kGiveUp = std::chrono::seconds(5);

bool displayIdle()
{
    return internals(*lb_TotalTime).getText().empty() && internals(*lb_TT).getText().empty() &&
        internals(*lb_ElapsedTime).getText().empty() && internals(*lb_ET).getText().empty() &&
        internals(*progress).getPerc() == 0;
}

// Polls `done` until it holds or kGiveUp has passed; false on giving up.
template <class Done>
bool waitFor(Done done)
{
    const Clock::time_point deadline = Clock::now() + kGiveUp;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

int usage()
{
    fprintf(stderr, "usage: lirva-stop-latency [-n STOPS] [-s SEED] FILE.flac\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int stops = 100;
    unsigned seed = 1;
    int opt;
    while ((opt = getopt(argc, argv, "n:s:")) != -1) {
        if (opt == 'n')
            stops = atoi(optarg);
        else if (opt == 's')
            seed = static_cast<unsigned>(strtoul(optarg, nullptr, 10));
        else
            return usage();
    }
    if (optind != argc - 1 || stops < 1)
        return usage();
    const char* slash = strrchr(argv[optind], '/');
    if (argv[optind][0] != '/' || !slash) {
        fprintf(stderr, "lirva-stop-latency: give the file as an absolute path\n");
        return 2;
    }
    const std::string dir(argv[optind], slash == argv[optind] ? 1 : static_cast<size_t>(slash - argv[optind]));
    const std::string name(slash + 1);
    const char* preload = getenv("LD_PRELOAD");
    if (access("/dev/dsp", F_OK) != 0 && !(preload && strstr(preload, "lirva_dsp_sim")))
        fprintf(stderr, "lirva-stop-latency: no /dev/dsp and no simulated one preloaded: plays are unpaced\n");

    // The window sleeps a second after replacing a thread; not our subject.
    gui_pause = noPause;
    eLirvaDialog dialog;
    dialog.show();
    // Rows as the list would hand them to selectedItem: the directory (its
    // absolute path joins "/" as "/dir"), then the file by its bare name.
    eListBox<eListBoxEntryText> rows(nullptr);
    auto* dirRow = new eListBoxEntryText(&rows, eString(dir));
    auto* fileRow = new eListBoxEntryText(&rows, eString(name));
    dialog.displayroot();
    if (dir != "/")
        dialog.selectedItem(dirRow);

    std::mt19937 random(seed);
    std::uniform_int_distribution<int> playMs(50, 300);
    std::vector<double> latencies;
    int missed = 0;
    for (int round = 0; round < stops; ++round) {
        dialog.selectedItem(fileRow);
        if (!waitFor([] { return file_info.is_playing != 0; })) {
            fprintf(stderr, "lirva-stop-latency: %s did not start playing\n", argv[optind]);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(playMs(random)));
        if (!file_info.is_playing) {  // ended on its own: nothing to stop
            ++missed;
            continue;
        }
        const Clock::time_point pressed = Clock::now();
        internals(dialog).dispatchKey(eRCKey::blue);
        if (!waitFor(displayIdle)) {
            fprintf(stderr, "lirva-stop-latency: the display was not idle %lld s after the blue key\n",
                    static_cast<long long>(kGiveUp.count()));
            return 1;
        }
        latencies.push_back(ms(Clock::now() - pressed));
    }
    ExecThread::stopAll();  // as the plug-in does when its window goes
    if (latencies.empty()) {
        fprintf(stderr, "lirva-stop-latency: the file always ended before the stop\n");
        return 1;
    }
    printf("stops %zu (skipped %d that had ended)\n", latencies.size(), missed);
    printf("blue key to idle display: median %.3f ms, p90 %.3f ms, max %.3f ms\n", percentile(latencies, 0.5),
           percentile(latencies, 0.9), percentile(latencies, 1.0));
    return 0;
}

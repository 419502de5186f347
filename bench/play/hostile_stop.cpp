// lirva-hostile-stop: how long stopping takes while a file keeps the decoder
// reading without end: "endless", a valid header and first frames followed
// by zeros up to SIZE bytes (the decoder searches them for a frame), and
// "padded", STREAMINFO followed by BLOCKS padding blocks of 16 MiB (the
// decoder reads them as metadata). Both are sparse files, made in an instant.
//
//   lirva-hostile-stop [-n ROUNDS] [-S SIZE] [-P BLOCKS] SOURCE.flac
//
// For each file and each way of stopping it (the blue key, selecting
// another file, leaving the window), each round selects the file in the
// plug-in's window, lets it run a random 20-100 ms and times the stop until
// the play thread has ended. Defaults: 20 rounds, 1 TB, 512 blocks.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "exec_thread.h"
#include "gui_pause.h"
#include "hostile_flac.h"
#include "lirva_dialog.h"
#include "stop_timing.h"
#include "temp_tree.h"
#include "widget_private.h"

namespace {

using namespace stop_timing;
constexpr auto kGiveUp = std::chrono::seconds(120);

bool waitForEnd()
{
    const Clock::time_point deadline = Clock::now() + kGiveUp;
    while (execThread.load() != nullptr) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
}

int usage()
{
    fprintf(stderr, "usage: lirva-hostile-stop [-n ROUNDS] [-S SIZE] [-P BLOCKS] SOURCE.flac\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 20;
    long long sparseSize = 1LL << 40;
    int paddingBlocks = 512;
    int opt;
    while ((opt = getopt(argc, argv, "n:S:P:")) != -1) {
        if (opt == 'n')
            rounds = atoi(optarg);
        else if (opt == 'S')
            sparseSize = atoll(optarg);
        else if (opt == 'P')
            paddingBlocks = atoi(optarg);
        else
            return usage();
    }
    if (optind != argc - 1 || rounds < 1)
        return usage();
    const std::string source = argv[optind];

    TempTree tree;
    struct Hostile {
        const char* name;
        std::string why;
    } files[] = {
        {"endless.flac", make_sparse_after_header(tree / "endless.flac", source, sparseSize)},
        {"padded.flac", make_huge_padding(tree / "padded.flac", source, paddingBlocks)},
    };
    tree.file("other.flac", "not FLAC: its play ends at once");

    gui_pause = noPause;  // the window's pause after a replacement is not our subject
    eLirvaDialog dialog;
    dialog.show();
    eListBox<eListBoxEntryText> rows(nullptr);
    auto* dirRow = new eListBoxEntryText(&rows, eString(tree.path()));
    dialog.displayroot();
    dialog.selectedItem(dirRow);

    std::mt19937 random(1);
    std::uniform_int_distribution<int> runMs(20, 100);
    const char* ways[] = {"blue key", "another file", "leaving"};
    for (const Hostile& file : files) {
        if (!file.why.empty()) {
            printf("%s: not made: %s\n", file.name, file.why.c_str());
            continue;
        }
        auto* fileRow = new eListBoxEntryText(&rows, eString(file.name));
        auto* otherRow = new eListBoxEntryText(&rows, eString("other.flac"));
        for (int way = 0; way < 3; ++way) {
            std::vector<double> times;
            int unstopped = 0;
            for (int round = 0; round < rounds; ++round) {
                dialog.selectedItem(fileRow);
                std::this_thread::sleep_for(std::chrono::milliseconds(runMs(random)));
                const Clock::time_point start = Clock::now();
                if (way == 0)
                    internals(dialog).dispatchKey(eRCKey::blue);
                else if (way == 1)
                    dialog.selectedItem(otherRow);
                else
                    ExecThread::stopAll();
                if (!waitForEnd()) {
                    ++unstopped;
                    ExecThread::stopAll();
                    continue;
                }
                times.push_back(ms(Clock::now() - start));
                ExecThread::stopAll();
            }
            printf("%s, %s: %zu stops", file.name, ways[way], times.size());
            if (!times.empty())
                printf(", median %.3f ms, p99 %.3f ms, max %.3f ms", percentile(times, 0.5), percentile(times, 0.99),
                       *std::max_element(times.begin(), times.end()));
            if (unstopped)
                printf(", %d not ended after %lld s", unstopped, static_cast<long long>(kGiveUp.count()));
            printf("\n");
            fflush(stdout);
        }
    }
    ExecThread::stopAll();
    return 0;
}

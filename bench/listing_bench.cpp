// Time to list one directory into the window's list, by directory size.
// Half the entries are FLAC files, 2% are subdirectories, the rest other files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "lirva_dialog.h"
#include "widget_private.h"

namespace {

std::string makeDirectory(int entries)
{
    char pattern[] = "/tmp/lirva-bench-XXXXXX";
    std::string root = mkdtemp(pattern);
    for (int i = 0; i < entries; ++i) {
        std::string name = root + "/entry" + std::to_string(i);
        if (i % 50 == 0) {
            mkdir(name.c_str(), 0755);
            continue;
        }
        name += (i % 2 == 0) ? ".flac" : ".txt";
        close(open(name.c_str(), O_CREAT | O_WRONLY, 0644));
    }
    return root;
}

// Directories are made once per size and removed at exit.
const std::string& directoryOf(int entries)
{
    static std::map<int, std::string> made;
    static struct Cleanup {
        ~Cleanup()
        {
            for (auto& kv : made)
                std::filesystem::remove_all(kv.second);
        }
    } cleanup;
    auto it = made.find(entries);
    if (it == made.end())
        it = made.emplace(entries, makeDirectory(entries)).first;
    return it->second;
}

void BM_ListDirectory(benchmark::State& state)
{
    const std::string& path = directoryOf(static_cast<int>(state.range(0)));
    eLirvaDialog dialog;
    for (auto _ : state)
        dialog.dispfiles(path);
    state.counters["rows"] = internals(*dialog.fileList()).getCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListDirectory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();

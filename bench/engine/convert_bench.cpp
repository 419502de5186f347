// The output chain: decoded frames to the device's bytes (stereo, 44100 Hz,
// big-endian), in inter-channel samples of input per second, for
// 4608-sample frames of each stream class.
#include <benchmark/benchmark.h>

#include <output_chain.h>

#include <vector>

namespace {

void convert_frames(benchmark::State& state)
{
    const unsigned channels = static_cast<unsigned>(state.range(0));
    const int bits = static_cast<int>(state.range(1));
    const uint32_t rate = static_cast<uint32_t>(state.range(2));
    const size_t blocksize = 4608;
    std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(blocksize));
    std::vector<const int32_t*> pointers;
    uint32_t x = 12345;
    for (auto& plane : planes) {
        for (auto& s : plane) {
            x = x * 1664525u + 1013904223u;
            s = static_cast<int32_t>(x) >> (32 - bits);
        }
        pointers.push_back(plane.data());
    }
    OutputChain chain;
    chain.begin(OutputFormat{});
    for (auto _ : state) {
        chain.convert(pointers.data(), channels, 0, blocksize, bits, rate);
        benchmark::DoNotOptimize(chain.data());
        benchmark::ClobberMemory();
    }
    chain.end();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(blocksize));
}

}  // namespace

// {channels, bits, rate}: the classes of the pipeline benchmark.
BENCHMARK(convert_frames)
    ->ArgNames({"channels", "bits", "rate"})
    ->Args({2, 16, 44100})
    ->Args({1, 16, 44100})
    ->Args({2, 16, 48000})
    ->Args({2, 24, 96000})
    ->Args({2, 24, 192000})
    ->Args({6, 24, 96000})
    ->Args({6, 16, 44100})
    ->Args({2, 24, 44100});

BENCHMARK_MAIN();

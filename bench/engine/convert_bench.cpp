// The conversion of decoded frames to the device's bytes: bytes of output
// per second, for 4608-sample frames.
#include <benchmark/benchmark.h>

#include <sample_convert.h>

#include <vector>

namespace {

void convert_frames(benchmark::State& state)
{
    const unsigned channels = static_cast<unsigned>(state.range(0));
    const int bits = static_cast<int>(state.range(1));
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
    std::vector<uint8_t> out(blocksize * channels * device_bytes_per_sample);
    for (auto _ : state) {
        convert_to_s16be(pointers.data(), channels, 0, blocksize, bits, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(out.size()));
}

}  // namespace

// {channels, bits}: the common case first.
BENCHMARK(convert_frames)->ArgNames({"channels", "bits"})
    ->Args({2, 16})->Args({1, 16})->Args({6, 16})->Args({2, 8})->Args({2, 24});

BENCHMARK_MAIN();

// Heap allocations per frame in steady state, counted, not assumed: every
// malloc-family call of the process (libFLAC's, the C++ library's, ours)
// goes through the counting definitions below.
//
//   engine-alloc-count FILE
//
// Plays FILE through the decoder session into /dev/null frame by frame, with
// the status display on toolkit widgets, and reports the allocations made
// after the first frames.
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <audio_device.h>
#include <decoder_session.h>
#include <file_info.h>
#include <flac_callbacks.h>
#include <status_window.h>

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);

namespace {
std::atomic<long> allocations{0};
}

extern "C" void* malloc(size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}

extern "C" void* calloc(size_t n, size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}

extern "C" void* realloc(void* p, size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}

extern "C" int posix_memalign(void** p, size_t align, size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    *p = __libc_memalign(align, n);
    return *p ? 0 : 12;
}

extern "C" void* aligned_alloc(size_t align, size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(align, n);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: engine-alloc-count FILE\n");
        return 2;
    }
    StatusWindow status;

    audio_device_path = "/dev/null";
    audio_device_open();
    if (decoder_constructor(argv[1]) != 1) {
        fprintf(stderr, "engine-alloc-count: cannot open %s\n", argv[1]);
        decoder_destructor();
        return 1;
    }

    // Warm-up: the decoder sizes its buffers on the first frames.
    const int warmup = 16;
    for (int i = 0; i < warmup; ++i)
        FLAC__stream_decoder_process_single(file_info.decoder);

    const long before = allocations.load();
    const uint64_t samples_before = file_info.samples_played;
    const int32_t seconds_before = file_info.elapsed_time;
    long frames = 0;
    while (FLAC__stream_decoder_get_state(file_info.decoder) != FLAC__STREAM_DECODER_END_OF_STREAM &&
           FLAC__stream_decoder_process_single(file_info.decoder))
        ++frames;
    const long counted = allocations.load() - before;
    const int32_t refreshes = file_info.elapsed_time - seconds_before;
    const uint64_t samples = file_info.samples_played - samples_before;
    decoder_destructor();

    printf("frames %ld samples %llu display refreshes %d allocations %ld per frame %.4f\n", frames,
           static_cast<unsigned long long>(samples), refreshes,
           counted, frames ? static_cast<double>(counted) / static_cast<double>(frames) : 0.0);
    return 0;
}

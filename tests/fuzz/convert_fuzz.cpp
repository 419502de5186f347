// Fuzzes the output chain on its own: any of FLAC's channel counts, any
// width (also invalid ones, which count as 16), any block sizes and stream
// rates, changing from frame to frame, to a device of one or two channels,
// either byte order and any rate it may answer. Each plane is a separate
// heap block of exactly the frame's size, so AddressSanitizer catches a read
// past it. What must hold: whole device frames; mono and stereo at the
// device's rate are the samples themselves (narrow widths) or within the
// dither's one step (wide ones); after the drain, as many device frames as
// the stream's duration gives.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <output_chain.h>

#include "engine_test_support.h"

namespace {

// Reads the input front to back; zeros once it is used up.
struct Input {
    const uint8_t* p;
    size_t left;
    uint32_t take(int bytes)
    {
        uint32_t v = 0;
        for (; bytes > 0; --bytes, left -= left > 0)
            v = v << 8 | (left > 0 ? *p++ : 0);
        return v;
    }
};

// libFuzzer keeps the input that caused it.
[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "%s\n", what);
    abort();
}

const uint32_t rates[] = {8000, 11025, 22050, 32000, 37800, 44100, 48000, 88200, 96000, 192000};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    OutputFormat device;
    const uint32_t device_pick = in.take(1);
    device.channels = 1 + (device_pick & 1);
    device.big_endian = (device_pick & 2) != 0;
    device.rate = (device_pick & 4) ? 44100 : rates[in.take(1) % 10];
    const size_t frame_bytes = 2 * device.channels;

    OutputChain chain;
    chain.begin(device);
    double seconds = 0;
    size_t produced = 0;
    for (int frame = 0; frame < 4 && in.left > 0; ++frame) {
        const unsigned channels = 1 + in.take(1) % 8;
        const int width = static_cast<int>(in.take(1) % 40) - 3;  // -3 .. 36
        const int effective = width >= 1 && width <= 32 ? width : 16;
        const uint32_t rate_pick = in.take(1);
        const uint32_t rate = rate_pick < 200 ? rates[rate_pick % 10] : 1 + in.take(3) % 400000;
        const size_t count = 1 + in.take(2) % 6000;

        std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(count));
        std::vector<const int32_t*> pointers;
        for (auto& plane : planes) {
            for (int32_t& s : plane)
                s = static_cast<int32_t>(in.take(4) << (32 - effective)) >> (32 - effective);  // sign-extended
            pointers.push_back(plane.data());
        }

        std::vector<uint8_t> bytes;
        for (size_t first = 0; first < count;) {
            const size_t n = chain.convert(pointers.data(), channels, first, count - first, width, rate);
            if (chain.size() % frame_bytes != 0)
                fail("not whole device frames");
            bytes.insert(bytes.end(), chain.data(), chain.data() + chain.size());
            if (n == 0 && chain.size() == 0)
                fail("no progress");
            first += n;
        }
        produced += bytes.size() / frame_bytes;
        seconds += static_cast<double>(count) / rate;

        // Mono or stereo at the device's rate: nothing but the width changes.
        if ((channels == device.channels || channels == 1) && rate == device.rate) {
            const uint8_t* b = bytes.data() + bytes.size() - count * frame_bytes;
            for (size_t i = 0; i < count * device.channels; ++i) {
                const int got = enginetest::read_16(b + 2 * i, device.big_endian);
                const int want =
                    enginetest::expected_16(planes[channels == 1 ? 0 : i % 2][i / device.channels], effective);
                if (std::abs(got - want) > (effective > 16 ? 1 : 0))
                    fail("wrong sample");
            }
        }
    }
    chain.drain();
    produced += chain.size() / frame_bytes;
    // Streams far slower than the device are dropped; the rest keep their
    // duration (a few frames of filter edges at each change of rate).
    if (produced > seconds * device.rate + 64 * 4)
        fail("more than the stream's duration");
    chain.end();
    return 0;
}

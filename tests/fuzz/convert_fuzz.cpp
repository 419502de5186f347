// Fuzzes the sample conversion on its own: any channel count the writer
// passes (1 to 8), any width (also invalid ones, which count as 16), any
// start and block size. Each plane and the output are separate heap blocks
// of exactly the size the call may touch, so AddressSanitizer catches a
// read or write past them; every output sample is checked against the
// reference values of the engine tests.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sample_convert.h>

#include "engine_test_support.h"

namespace {

// Reads the input front to back; zeros once it is used up.
struct Input {
    const uint8_t* p;
    size_t left;
    uint32_t take(int bytes)
    {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v = v << 8 | (left > 0 ? *p : 0);
            if (left > 0) {
                ++p;
                --left;
            }
        }
        return v;
    }
};

// A decoded value of `bits` width (sign-extended), as libFLAC hands them over.
int32_t fit_to_width(uint32_t raw, int bits)
{
    if (bits >= 32)
        return static_cast<int32_t>(raw);
    const uint32_t sign = uint32_t{1} << (bits - 1);
    raw &= (sign << 1) - 1;
    return static_cast<int32_t>((raw ^ sign) - sign);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    const unsigned channels = 1 + in.take(1) % 8;
    const int width = static_cast<int>(in.take(1) % 40) - 3;   // -3 .. 36
    const size_t first = in.take(2) % 600;
    const size_t count = in.take(2) % 9000;
    const int effective = width >= 1 && width <= 32 ? width : 16;

    // Sample values come from the rest of the input, repeated as needed.
    const uint8_t* samples = in.p;
    const size_t sample_bytes = in.left;
    size_t pos = 0;
    auto next_raw = [&]() -> uint32_t {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i, ++pos)
            v = v << 8 | (sample_bytes ? samples[pos % sample_bytes] : 0);
        return v;
    };

    std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(first + count));
    std::vector<const int32_t*> plane_ptrs;
    for (auto& plane : planes) {
        for (int32_t& s : plane)
            s = fit_to_width(next_raw(), effective);
        plane_ptrs.push_back(plane.data());
    }

    const size_t out_size = count * channels * device_bytes_per_sample;
    uint8_t* out = static_cast<uint8_t*>(malloc(out_size ? out_size : 1));
    convert_to_s16be(plane_ptrs.data(), channels, first, count, width, out);

    for (size_t i = 0; i < count; ++i) {
        for (unsigned c = 0; c < channels; ++c) {
            const int32_t value = planes[c][first + i];
            const uint16_t want = static_cast<uint16_t>(enginetest::expected_16(value, effective));
            const uint8_t* got = out + (i * channels + c) * 2;
            if (got[0] != want >> 8 || got[1] != (want & 0xFF)) {
                fprintf(stderr, "wrong bytes: channels %u width %d first %zu count %zu, sample %zu "
                        "channel %u value %d: got %02x %02x, want %04x\n",
                        channels, width, first, count, i, c, value, got[0], got[1], want);
                abort();
            }
        }
    }
    free(out);
    return 0;
}

// Writes SECONDS of audio as raw big-endian signed PCM to standard output:
// a few drifting tones per channel with a little noise, so that an encoder
// works about as hard as on music. Default: 16-bit stereo at 44100 Hz.
//
//   gen-tone SECONDS [RATE BITS CHANNELS] | flac --force-raw-format
//       --endian=big --sign=signed --channels=C --bps=B --sample-rate=R -o tone.flac -
#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? atol(argv[1]) : 600;
    const long rate = argc > 2 ? atol(argv[2]) : 44100;
    const int bits = argc > 3 ? atoi(argv[3]) : 16;
    const int channels = argc > 4 ? atoi(argv[4]) : 2;
    if (rate <= 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32) || channels < 1 || channels > 8) {
        fprintf(stderr, "usage: gen-tone SECONDS [RATE BITS(8,16,24,32) CHANNELS(1-8)]\n");
        return 2;
    }
    const long total = seconds * rate;
    const int bytes = bits / 8;
    const double full = std::ldexp(1.0, bits - 1) - 1;
    unsigned noise = 1;
    unsigned char block[4096 * 8 * 4];
    size_t used = 0;
    for (long i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(rate);
        const double f = 220.0 + 110.0 * std::sin(t * 0.05);
        noise = noise * 1103515245u + 12345u;
        const double n = (static_cast<int>((noise >> 16) & 0x7FFF) - 16384) / 16384.0 * 0.02;
        for (int c = 0; c < channels; ++c) {
            const double k = 1.0 + 0.5 * c;
            const double v = 0.4 * std::sin(2 * M_PI * k * f * t + c) + 0.2 * std::sin(2 * M_PI * (3.01 + c) * f * t) +
                (c % 2 ? -n : n);
            const long s = std::lround(v * full);
            for (int b = bytes - 1; b >= 0; --b)
                block[used++] = static_cast<unsigned char>((static_cast<unsigned long>(s) >> (8 * b)) & 0xFF);
        }
        if (used + 8 * 4 > sizeof block) {
            fwrite(block, 1, used, stdout);
            used = 0;
        }
    }
    fwrite(block, 1, used, stdout);
    return 0;
}

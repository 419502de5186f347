// Writes SECONDS of 16-bit stereo 44100 Hz audio as raw big-endian PCM to
// standard output: a few drifting tones with a little noise, so that an
// encoder works about as hard as on music.
//
//   gen-tone SECONDS | flac --force-raw-format --endian=big --sign=signed
//       --channels=2 --bps=16 --sample-rate=44100 -o tone.flac -
#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? atol(argv[1]) : 600;
    const long total = seconds * 44100;
    unsigned noise = 1;
    unsigned char block[4096 * 4];
    size_t used = 0;
    for (long i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        const double f = 220.0 + 110.0 * std::sin(t * 0.05);
        double left = 0.4 * std::sin(2 * M_PI * f * t) + 0.2 * std::sin(2 * M_PI * 3.01 * f * t);
        double right = 0.4 * std::sin(2 * M_PI * 1.5 * f * t + 1.0) + 0.15 * std::sin(2 * M_PI * 5.0 * f * t);
        noise = noise * 1103515245u + 12345u;
        const double n = (static_cast<int>((noise >> 16) & 0x7FFF) - 16384) / 16384.0 * 0.02;
        const int l = static_cast<int>((left + n) * 32767.0);
        const int r = static_cast<int>((right - n) * 32767.0);
        block[used++] = static_cast<unsigned char>((l >> 8) & 0xFF);
        block[used++] = static_cast<unsigned char>(l & 0xFF);
        block[used++] = static_cast<unsigned char>((r >> 8) & 0xFF);
        block[used++] = static_cast<unsigned char>(r & 0xFF);
        if (used == sizeof block) {
            fwrite(block, 1, used, stdout);
            used = 0;
        }
    }
    fwrite(block, 1, used, stdout);
    return 0;
}

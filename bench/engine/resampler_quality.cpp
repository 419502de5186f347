// Chooses libspeexdsp's quality setting: for each setting 0 to 10, what the
// resampler costs and what it gives, on the conversions the player makes
// most (48 and 96 kHz to 44.1 kHz), through its integer interface:
//   snr48, snr96   signal to noise and distortion of a 1 kHz sine at
//                  -6 dBFS, in dB (the residual after fitting the sine)
//   hf48           the same for a 15 kHz sine from 48 kHz (the passband's
//                  upper part)
//   19k48, 20k48   the level of a 19 and a 20 kHz sine after 48 -> 44.1 kHz,
//                  in dB (where the passband ends)
//   alias96        how far a 30 kHz tone at 96 kHz, above the output's
//                  Nyquist limit, is kept out of the output, in dB
//   snr192, alias192  the same from 192 kHz
//   us/s48, us/s96 CPU microseconds per second of stereo audio on this
//                  machine (the library build at hand: float on a PC)
//
//   resampler-quality                      the table
//   resampler-quality QUALITY RATE SECONDS  only SECONDS of RATE to 44.1 kHz
//                                           at QUALITY, for an instruction
//                                           counter (valgrind)
#include <speex/speex_resampler.h>

#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<int16_t> stereo_sine(double hz, double rate, size_t frames, double amplitude)
{
    std::vector<int16_t> s;
    for (size_t i = 0; i < frames; ++i) {
        const int16_t v = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * i / rate)));
        s.push_back(v);
        s.push_back(v);
    }
    return s;
}

double cpu_seconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

std::vector<int16_t> resample(int quality, uint32_t in_rate, const std::vector<int16_t>& in, double* seconds)
{
    SpeexResamplerState* st = speex_resampler_init(2, in_rate, 44100, quality, nullptr);
    speex_resampler_skip_zeros(st);
    std::vector<int16_t> out(in.size() * 44100 / in_rate + 4096);
    const double start = cpu_seconds();
    spx_uint32_t in_len = static_cast<spx_uint32_t>(in.size() / 2);
    spx_uint32_t out_len = static_cast<spx_uint32_t>(out.size() / 2);
    speex_resampler_process_interleaved_int(st, in.data(), &in_len, out.data(), &out_len);
    if (seconds != nullptr)
        *seconds = cpu_seconds() - start;
    speex_resampler_destroy(st);
    out.resize(2 * out_len);
    return out;
}

// Power of the left channel's residual after a least-squares fit of a sine
// at `hz` (and a constant), against the fitted sine's power, in dB. The
// filter's edges (the first and last 1000 samples) are left out.
double snr_db(const std::vector<int16_t>& s, double hz, double rate, double* level = nullptr)
{
    const size_t n = s.size() / 2;
    double ss = 0, sc = 0, cc = 0, s1 = 0, c1 = 0, ys = 0, yc = 0, y1 = 0, count = 0;
    for (size_t i = 1000; i + 1000 < n; ++i) {
        const double a = std::sin(2 * M_PI * hz * i / rate), b = std::cos(2 * M_PI * hz * i / rate);
        const double y = s[2 * i];
        ss += a * a;
        sc += a * b;
        cc += b * b;
        s1 += a;
        c1 += b;
        ys += y * a;
        yc += y * b;
        y1 += y;
        count += 1;
    }
    // Solve the 3x3 normal equations by Cramer's rule.
    const double m[3][3] = {{ss, sc, s1}, {sc, cc, c1}, {s1, c1, count}};
    const double r[3] = {ys, yc, y1};
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
            a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    double x[3];
    for (int k = 0; k < 3; ++k) {
        double t[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                t[i][j] = j == k ? r[i] : m[i][j];
        x[k] = det(t) / det(m);
    }
    double signal = 0, noise = 0;
    for (size_t i = 1000; i + 1000 < n; ++i) {
        const double fit = x[0] * std::sin(2 * M_PI * hz * i / rate) + x[1] * std::cos(2 * M_PI * hz * i / rate) + x[2];
        signal += fit * fit;
        noise += (s[2 * i] - fit) * (s[2 * i] - fit);
    }
    if (level != nullptr)
        *level = std::hypot(x[0], x[1]);
    return 10 * std::log10(signal / (noise > 0 ? noise : 1e-9));
}

double rms(const std::vector<int16_t>& s)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = 2000; i + 2000 < s.size(); i += 2, ++n)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / (n ? n : 1));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4) {
        const uint32_t rate = static_cast<uint32_t>(atol(argv[2]));
        const auto in = stereo_sine(1000, rate, rate * static_cast<size_t>(atol(argv[3])), 16384);
        return resample(atoi(argv[1]), rate, in, nullptr).empty() ? 1 : 0;
    }
    const double amplitude = 16384;  // -6 dBFS
    const auto in48 = stereo_sine(1000, 48000, 48000 * 4, amplitude);
    const auto hf48 = stereo_sine(15000, 48000, 48000 * 4, amplitude);
    const auto in96 = stereo_sine(1000, 96000, 96000 * 4, amplitude);
    const auto alias96 = stereo_sine(30000, 96000, 96000 * 4, amplitude);
    const auto in192 = stereo_sine(1000, 192000, 192000 * 2, amplitude);
    const auto alias192 = stereo_sine(30000, 192000, 192000 * 2, amplitude);
    const auto at19k = stereo_sine(19000, 48000, 48000, amplitude);
    const auto at20k = stereo_sine(20000, 48000, 48000, amplitude);
    printf("%7s %7s %7s %7s %8s %7s %8s %7s %7s %8s %8s %8s\n", "quality", "snr48", "hf48", "snr96", "alias96",
           "snr192", "alias192", "19k48", "20k48", "us/s48", "us/s96", "us/s192");
    for (int q = 0; q <= 10; ++q) {
        double t48 = 0, t96 = 0;
        const double snr48 = snr_db(resample(q, 48000, in48, &t48), 1000, 44100);
        const double snr_hf = snr_db(resample(q, 48000, hf48, nullptr), 15000, 44100);
        const double snr96 = snr_db(resample(q, 96000, in96, &t96), 1000, 44100);
        const double kept = rms(resample(q, 96000, alias96, nullptr));
        const double alias = 20 * std::log10((kept > 0 ? kept : 0.5) / (amplitude / std::sqrt(2.0)));
        double t192 = 0;
        const double snr192 = snr_db(resample(q, 192000, in192, &t192), 1000, 44100);
        const double kept192 = rms(resample(q, 192000, alias192, nullptr));
        const double alias2 = 20 * std::log10((kept192 > 0 ? kept192 : 0.5) / (amplitude / std::sqrt(2.0)));
        double l19 = 0, l20 = 0;
        snr_db(resample(q, 48000, at19k, nullptr), 19000, 44100, &l19);
        snr_db(resample(q, 48000, at20k, nullptr), 20000, 44100, &l20);
        printf("%7d %7.1f %7.1f %7.1f %8.1f %7.1f %8.1f %7.1f %7.1f %8.0f %8.0f %8.0f\n", q, snr48, snr_hf, snr96,
               -alias, snr192, -alias2, 20 * std::log10(l19 / amplitude), 20 * std::log10(l20 / amplitude),
               t48 / 4 * 1e6, t96 / 4 * 1e6, t192 / 2 * 1e6);
    }
    return 0;
}

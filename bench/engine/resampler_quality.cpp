// What the integer rate step gives, for every conversion it makes:
//   pass dB     the worst level error of a sine from 100 Hz to 20 kHz (to
//               19 kHz from 176.4 and 192 kHz), in dB
//   spur dB     the worst residual of those sines after fitting the sine
//               (images, aliases of the tone, the filters' rounding), below
//               the tone, in dB: the imaging and distortion figure
//   alias dB    the worst level that a sine above the output's band leaves
//               below 20 kHz (19 kHz from 176.4 and 192 kHz: the top of
//               the passband), against its input level, in dB (the
//               highest line of a Blackman-Harris windowed spectrum; "-"
//               where no input frequency folds there)
// measured on the stage's own 30-bit output, before dither. Then, through
// the whole output chain into 16-bit samples:
//   noise dBFS  the residual of a 1 kHz sine at -6 dBFS, 24-bit input,
//               RMS against full scale: 16-bit rounding with TPDF dither
//               alone gives -96.3 (half a step RMS)
//
//   resampler-quality
#include <integer_resampler.h>
#include <output_chain.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

namespace {

constexpr double full_scale = 1 << 29;  // the rate step's 30-bit samples

std::vector<int32_t> sine(double hz, double rate, size_t frames, double amplitude)
{
    std::vector<int32_t> s(frames);
    for (size_t i = 0; i < frames; ++i)
        s[i] = static_cast<int32_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate)));
    return s;
}

std::vector<double> resample(uint32_t from, uint32_t to, const std::vector<int32_t>& in)
{
    IntegerResampler r;
    r.start(1, from, to);
    std::vector<int32_t> out(r.max_output(in.size()) + r.max_output(0));
    size_t n = r.process(in.data(), in.size(), out.data());
    n += r.drain(out.data() + n);
    return std::vector<double>(out.begin(), out.begin() + static_cast<ptrdiff_t>(n));
}

// The level of the sine at `hz` fitted to `s` (with a constant), and the
// residual's RMS; the first and last tenth are left out (the filters'
// start from and end in silence).
void fit(const std::vector<double>& s, double hz, double rate, double* level, double* residual)
{
    const size_t from = s.size() / 10, to = s.size() - s.size() / 10;
    double m[3][3] = {}, r[3] = {};
    for (size_t i = from; i < to; ++i) {
        const double v[3] = {std::sin(2 * M_PI * hz * i / rate), std::cos(2 * M_PI * hz * i / rate), 1};
        for (int a = 0; a < 3; ++a) {
            r[a] += v[a] * s[i];
            for (int b = 0; b < 3; ++b)
                m[a][b] += v[a] * v[b];
        }
    }
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
    double noise = 0;
    for (size_t i = from; i < to; ++i) {
        const double e = s[i] - x[0] * std::sin(2 * M_PI * hz * i / rate) - x[1] * std::cos(2 * M_PI * hz * i / rate) - x[2];
        noise += e * e;
    }
    *level = std::hypot(x[0], x[1]);
    *residual = std::sqrt(noise / static_cast<double>(to - from));
}

// The highest spectral line below `limit` Hz of a sine's output `s` at
// `rate`, against a sine of `amplitude`: 8192 samples from its middle,
// Blackman-Harris windowed (side lobes 92 dB down), radix-2 FFT.
double highest_line_below(const std::vector<double>& s, double rate, double limit, double amplitude)
{
    constexpr size_t n = 8192;
    const size_t start = s.size() > n ? (s.size() - n) / 2 : 0;
    std::vector<std::complex<double>> x(n);
    double gain = 0;
    for (size_t i = 0; i < n && start + i < s.size(); ++i) {
        const double t = 2 * M_PI * static_cast<double>(i) / n;
        const double w = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
        x[i] = s[start + i] * w;
        gain += w;
    }
    for (size_t i = 1, j = 0; i < n; ++i) {  // bit reversal
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2 * M_PI / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> a = x[i + k], b = x[i + k + len / 2] * w;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
            }
        }
    }
    double peak = 0;
    for (size_t k = 1; k < n / 2 && static_cast<double>(k) * rate / n < limit; ++k)
        peak = std::fmax(peak, std::abs(x[k]));
    return peak / (gain / 2 * amplitude);
}

double db(double ratio)
{
    return 20 * std::log10(ratio > 1e-12 ? ratio : 1e-12);
}

// A 1 kHz sine at -6 dBFS, 24 bits at `from`, through the whole chain to a
// 16-bit stereo device at `to`: the residual against full scale, in dB.
double chain_noise(uint32_t from, uint32_t to)
{
    const std::vector<int32_t> s = sine(1000, from, from, (1 << 23) * 0.5);
    const int32_t* planes[2] = {s.data(), s.data()};
    OutputChain chain;
    chain.begin(OutputFormat{true, true, 2, to}, 4096);
    std::vector<double> left;
    for (size_t first = 0; first < s.size(); first += 4096) {
        const size_t n = s.size() - first < 4096 ? s.size() - first : 4096;
        chain.convert(planes, 2, first, n, 24, from);
        const uint8_t* b = chain.data();
        for (size_t i = 0; i + 3 < chain.size(); i += 4)
            left.push_back(static_cast<int16_t>(b[i] << 8 | b[i + 1]));
    }
    double level = 0, residual = 0;
    fit(left, 1000, to, &level, &residual);
    return db(residual / 32768);
}

}  // namespace

int main()
{
    const struct {
        uint32_t from, to;
    } routes[] = {{48000, 44100},  {44100, 48000},  {96000, 48000},  {96000, 44100}, {88200, 44100},
                  {88200, 48000},  {192000, 48000}, {192000, 44100}, {176400, 44100}, {176400, 48000}};
    printf("%-18s %8s %8s %8s %11s\n", "conversion", "pass dB", "spur dB", "alias dB", "noise dBFS");
    for (const auto& r : routes) {
        const double top = r.from > 96000 ? 19000 : 20000;
        const double amplitude = full_scale * 0.5;
        const size_t frames = r.from / 5;
        double pass = 0, spur = -300;
        for (double hz = 100; hz <= top; hz = hz < 1000 ? hz + 300 : hz + 950) {
            double level = 0, residual = 0;
            fit(resample(r.from, r.to, sine(hz, r.from, frames, amplitude)), hz, r.to, &level, &residual);
            pass = std::fmax(pass, std::fabs(db(level / amplitude)));
            spur = std::fmax(spur, db(residual / level));
        }
        double alias = -300;
        for (double hz = r.to / 2.0 + 50; hz < r.from / 2.0; hz += 1013)
            alias = std::fmax(alias, db(highest_line_below(resample(r.from, r.to, sine(hz, r.from, frames, amplitude)),
                                                           r.to, top, amplitude)));
        char name[32], alias_text[16];
        snprintf(name, sizeof name, "%.1f->%.1f kHz", r.from / 1000.0, r.to / 1000.0);
        if (r.from > r.to)
            snprintf(alias_text, sizeof alias_text, "%.1f", alias);
        else
            snprintf(alias_text, sizeof alias_text, "-");
        printf("%-18s %8.3f %8.1f %8s %11.1f\n", name, pass, spur, alias_text, chain_noise(r.from, r.to));
    }
    return 0;
}

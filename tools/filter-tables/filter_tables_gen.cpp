// Writes engine/filter_tables.cpp: the constant coefficient tables of the
// integer rate converters, Kaiser-windowed sinc filters quantised to fixed
// point. Runs on the development machine (floating point is fine here);
// the player only reads the tables. scripts/gen-filter-tables.sh builds and
// runs it; the measured response of each table goes to stderr.
//
//   filter_tables_gen > engine/filter_tables.cpp
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../../engine/filter_tables.h"

namespace {

double bessel_i0(double x)
{
    double sum = 1, term = 1;
    for (int k = 1; k < 60; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// The Kaiser window at `t` in [-1, 1].
double kaiser(double t, double beta)
{
    if (t <= -1 || t >= 1)
        return 0;
    return bessel_i0(beta * std::sqrt(1 - t * t)) / bessel_i0(beta);
}

double sinc(double x)
{
    return x == 0 ? 1 : std::sin(M_PI * x) / (M_PI * x);
}

double db(double v)
{
    return 20 * std::log10(std::fabs(v) + 1e-30);
}

// A 2:1 decimator: taps at odd offsets +-1, +-3, ... +-(2K-1) around a
// centre tap of exactly 1/2; Q31.
struct Halfband {
    std::string name;
    int k;
    double beta;
    double rate, pass, stop;  // Hz: input rate, passband edge, stopband edge
};

std::vector<int32_t> halfband(const Halfband& d)
{
    std::vector<int32_t> q;
    const double half_length = 2.0 * d.k;  // the window reaches zero at +-2K
    for (int i = 1; i <= d.k; ++i) {
        const int n = 2 * i - 1;
        const double h = 0.5 * sinc(n / 2.0) * kaiser(n / half_length, d.beta);
        q.push_back(static_cast<int32_t>(std::lround(h * 2147483648.0)));
    }
    // Measured with the quantised taps.
    double ripple = 0, stopband = -300;
    for (int s = 0; s <= 4000; ++s) {
        const double f = s / 8000.0;  // 0 .. fs/2
        double h = 0.5;
        for (int i = 1; i <= d.k; ++i)
            h += 2 * q[static_cast<size_t>(i - 1)] / 2147483648.0 * std::cos(2 * M_PI * f * (2 * i - 1));
        const double hz = f * d.rate;
        if (hz <= d.pass)
            ripple = std::fmax(ripple, std::fabs(db(h)));
        if (hz >= d.stop)
            stopband = std::fmax(stopband, db(h));
    }
    fprintf(stderr, "%-22s %3d taps  passband to %5.0f Hz within %.4f dB  stopband from %5.0f Hz at %.1f dB\n",
            d.name.c_str(), 4 * d.k - 1, d.pass, ripple, d.stop, stopband);
    return q;
}

// A polyphase filter from `in` to `out` Hz, `up` phases of `taps` taps,
// each phase summing to exactly 1.0 in Q30. Phase p, tap j weighs input
// sample i - taps/2 + 1 + j for an output at input time i + p/up.
struct Polyphase {
    std::string name;
    int up, down, taps;
    double beta;
    double in, pass, stop;
};

std::vector<int32_t> polyphase(const Polyphase& d)
{
    const double cutoff = (d.pass + d.stop) / 2 / d.in;  // cycles per input sample
    const double half = d.taps / 2.0;
    std::vector<int32_t> q;
    for (int p = 0; p < d.up; ++p) {
        std::vector<double> h;
        double sum = 0;
        for (int j = 0; j < d.taps; ++j) {
            const double tau = half - 1 - j + static_cast<double>(p) / d.up;
            h.push_back(2 * cutoff * sinc(2 * cutoff * tau) * kaiser(tau / half, d.beta));
            sum += h.back();
        }
        int64_t total = 0;
        size_t largest = 0;
        std::vector<int32_t> phase;
        for (size_t j = 0; j < h.size(); ++j) {
            phase.push_back(static_cast<int32_t>(std::lround(h[j] / sum * 1073741824.0)));
            total += phase.back();
            if (std::fabs(h[j]) > std::fabs(h[largest]))
                largest = j;
        }
        phase[largest] += static_cast<int32_t>(1073741824 - total);
        q.insert(q.end(), phase.begin(), phase.end());
    }
    // The prototype (every phase interleaved, at up x the input rate),
    // measured with the quantised taps; its passband gain is `up`.
    double ripple = 0, stopband = -300;
    for (int s = 0; s <= 3000; ++s) {
        const double hz = s * (d.in / 2 + d.stop) / 3000;
        if (hz > d.pass && hz < d.stop)
            continue;
        const double w = 2 * M_PI * hz / (d.in * d.up);
        double re = 0, im = 0;
        for (int p = 0; p < d.up; ++p)
            for (int j = 0; j < d.taps; ++j) {
                const double m = (half - 1 - j) * d.up + p;  // position in the upsampled stream
                const double c = q[static_cast<size_t>(p * d.taps + j)] / 1073741824.0;
                re += c * std::cos(w * m);
                im -= c * std::sin(w * m);
            }
        const double gain = std::hypot(re, im) / d.up;
        if (hz <= d.pass)
            ripple = std::fmax(ripple, std::fabs(db(gain)));
        else
            stopband = std::fmax(stopband, db(gain));
    }
    fprintf(stderr, "%-22s %3d phases of %d taps  passband to %5.0f Hz within %.4f dB  stopband from %5.0f Hz at %.1f dB\n",
            d.name.c_str(), d.up, d.taps, d.pass, ripple, d.stop, stopband);
    return q;
}

void print_values(const std::vector<int32_t>& v)
{
    for (size_t i = 0; i < v.size(); ++i)
        printf("%s%ld,%s", i % 6 == 0 ? "    " : " ", static_cast<long>(v[i]), i % 6 == 5 || i + 1 == v.size() ? "\n" : "");
}

}  // namespace

int main()
{
    printf("// Generated by tools/filter-tables/filter_tables_gen.cpp (scripts/gen-filter-tables.sh).\n"
           "// Do not edit: change the generator and run the script.\n"
           "#include \"filter_tables.h\"\n\nnamespace {\n\n");

    // 2:1 stages. The first stage of 176.4 and 192 kHz input only has to keep
    // out what would fold below the next stage's stopband; the last stage
    // into 44.1 or 48 kHz keeps everything that folds below 20 kHz out.
    const Halfband halfbands[] = {
        {"halfband_wide", halfband_wide_half_taps, 8.6, 192000, 28000, 68000},
        {"halfband_96k", halfband_96k_half_taps, 8.2, 96000, 20000, 28000},
        {"halfband_88k", halfband_88k_half_taps, 8.4, 88200, 20000, 24100},
        {"halfband_96k_hires", halfband_96k_hires_half_taps, 8.2, 96000, 19000, 29000},
        {"halfband_88k_hires", halfband_88k_hires_half_taps, 8.4, 88200, 19000, 25100},
    };
    // Between the families: the passband to 20 kHz, the stopband from
    // 24.1 kHz, so no alias or image of a passband tone stays in the output.
    const Polyphase polyphases[] = {
        {"polyphase_48k_to_44k", 147, 160, polyphase_48k_to_44k_phase_taps, 8.6, 48000, 20000, 24100},
        {"polyphase_44k_to_48k", 160, 147, polyphase_44k_to_48k_phase_taps, 8.0, 44100, 20000, 24100},
        {"polyphase_48k_to_44k_hires", 147, 160, polyphase_48k_to_44k_hires_phase_taps, 8.4, 48000, 19000, 25100},
    };

    // Sized by the header's lengths: a table that does not match them does
    // not compile.
    for (const Halfband& d : halfbands) {
        printf("const int32_t %s_taps[%s_half_taps] = {\n", d.name.c_str(), d.name.c_str());
        print_values(halfband(d));
        printf("};\n\n");
    }
    for (const Polyphase& d : polyphases) {
        printf("const int32_t %s_taps[%d * %s_phase_taps] = {\n", d.name.c_str(), d.up, d.name.c_str());
        print_values(polyphase(d));
        printf("};\n\n");
    }
    printf("}  // namespace\n\n");
    for (const Halfband& d : halfbands)
        printf("const HalfbandTable %s = {%s_half_taps, %s_taps};\n", d.name.c_str(), d.name.c_str(), d.name.c_str());
    for (const Polyphase& d : polyphases)
        printf("const PolyphaseTable %s = {%d, %d, %s_phase_taps, %s_taps};\n", d.name.c_str(), d.up, d.down,
               d.name.c_str(), d.name.c_str());
    return 0;
}

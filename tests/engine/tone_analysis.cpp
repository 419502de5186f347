#include "tone_analysis.h"

#include <cmath>

namespace tonetest {

std::vector<double> channel(const std::vector<int16_t>& interleaved, unsigned channels, unsigned which)
{
    std::vector<double> out;
    for (size_t i = which; i < interleaved.size(); i += channels)
        out.push_back(interleaved[i]);
    return out;
}

double frequency(const std::vector<double>& s, double rate)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            const double at = static_cast<double>(i - 1) + -s[i - 1] / (s[i] - s[i - 1]);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) * rate / (last - first);
}

double largest_step(const std::vector<double>& s)
{
    double step = 0;
    for (size_t i = 1; i < s.size(); ++i)
        step = std::fmax(step, std::fabs(s[i] - s[i - 1]));
    return step;
}

double peak(const std::vector<double>& s)
{
    double p = 0;
    for (double v : s)
        p = std::fmax(p, std::fabs(v));
    return p;
}

}  // namespace tonetest

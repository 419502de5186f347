#include "device_answers.h"

#include <linux/soundcard.h>

#include <cstdlib>
#include <cstring>

namespace {

int format_named(const char* value, size_t n)
{
    const struct {
        const char* name;
        int format;
    } names[] = {{"s16be", AFMT_S16_BE}, {"s16le", AFMT_S16_LE}, {"u8", AFMT_U8}};
    for (const auto& f : names)
        if (strlen(f.name) == n && strncmp(value, f.name, n) == 0)
            return f.format;
    return atoi(value);
}

constexpr int usual_rates[] = {8000,  11025, 12000, 16000, 22050,  24000,  32000,
                                44100, 48000, 64000, 88200, 96000, 176400, 192000};

void rates_from_environment(DeviceAnswers& answers)
{
    const char* text = getenv("LIRVA_DSP_RATES");
    while (text != nullptr && *text != '\0' && answers.rate_count < DeviceAnswers::max_rates) {
        const int rate = atoi(text);
        if (rate > 0)
            answers.rates[answers.rate_count++] = rate;
        text = strchr(text, ',');
        text = text != nullptr ? text + 1 : nullptr;
    }
    if (answers.rate_count == 0)
        for (int rate : usual_rates)
            answers.rates[answers.rate_count++] = rate;
}

}  // namespace

int DeviceAnswers::nearest_rate(int asked) const
{
    int best = rates[0];
    for (int i = 1; i < rate_count; ++i) {
        const long distance = labs(long{rates[i]} - asked);
        const long best_distance = labs(long{best} - asked);
        if (distance < best_distance || (distance == best_distance && rates[i] < best))
            best = rates[i];
    }
    return best;
}

DeviceAnswers answers_from_environment()
{
    DeviceAnswers answers;
    rates_from_environment(answers);
    const char* text = getenv("LIRVA_DSP_ANSWER");
    while (text != nullptr && *text != '\0') {
        const char* end = strchr(text, ',');
        const size_t length = end != nullptr ? static_cast<size_t>(end - text) : strlen(text);
        const char* equals = static_cast<const char*>(memchr(text, '=', length));
        if (equals != nullptr) {
            const size_t key = static_cast<size_t>(equals - text);
            const char* value = equals + 1;
            const size_t value_length = length - key - 1;
            if (key == 6 && strncmp(text, "format", 6) == 0)
                answers.format = format_named(value, value_length);
            else if (key == 8 && strncmp(text, "channels", 8) == 0)
                answers.channels = atoi(value);
            else if (key == 4 && strncmp(text, "rate", 4) == 0)
                answers.rate = atoi(value);
        }
        text = end != nullptr ? end + 1 : nullptr;
    }
    return answers;
}

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

}  // namespace

DeviceAnswers answers_from_environment()
{
    DeviceAnswers answers;
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

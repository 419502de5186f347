#include "now_playing.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "track_list.h"

NowPlaying now_playing;

namespace {

// "44.1 kHz", "48 kHz", "22.05 kHz": whole kHz, then the non-zero decimals.
std::string khz(unsigned rate)
{
    char text[24];
    unsigned fraction = rate % 1000, digits = 3;
    for (; digits > 0 && fraction % 10 == 0; --digits)
        fraction /= 10;
    if (digits == 0)
        snprintf(text, sizeof text, "%u kHz", rate / 1000);
    else
        snprintf(text, sizeof text, "%u.%0*u kHz", rate / 1000, static_cast<int>(digits), fraction);
    return text;
}

std::string format_text(unsigned rate, unsigned bits, unsigned channels)
{
    return khz(rate) + " " + std::to_string(bits) + " bit " + std::to_string(channels) + " ch";
}

// `text` into `out` (of `size` bytes), at most `chars` characters of UTF-8,
// control characters shown as blanks.
void put_line(char* out, size_t size, const std::string& text, size_t chars)
{
    size_t n = 0, shown = 0;
    for (size_t i = 0; i < text.size() && n + 1 < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool starts_char = (byte & 0xC0) != 0x80;
        if (starts_char && shown++ == chars)
            break;
        out[n++] = byte < 0x20 || byte == 0x7F ? ' ' : text[i];
    }
    while (n > 0 && (static_cast<unsigned char>(out[n - 1]) & 0x80) != 0 &&
           (static_cast<unsigned char>(out[n - 1]) & 0xC0) != 0x80)
        --n;  // a lead byte whose sequence did not fit
    out[n] = '\0';
}

std::string file_title(const char* path)
{
    const char* slash = strrchr(path, '/');
    std::string name = slash != nullptr ? slash + 1 : path;
    if (is_flac_name(name.c_str()))
        name.resize(name.size() - 5);
    return name;
}

}  // namespace

void describe_track(const char* path, const TrackTags& tags, const FileInfo& stream, const OutputFormat& device)
{
    std::string who = tags.artist, what = tags.title;
    std::string line1 = !who.empty() && !what.empty() ? who + " \u2013 " + what : who + what;
    if (line1.empty())
        line1 = file_title(path);
    put_line(now_playing.line1, sizeof now_playing.line1, line1, NowPlaying::max_chars);

    std::string line3;
    if (stream.sample_rate > 0)
        line3 = format_text(static_cast<unsigned>(stream.sample_rate), static_cast<unsigned>(stream.bits_per_sample),
                            static_cast<unsigned>(stream.channels)) +
            " > ";
    line3 += format_text(device.rate, 16, device.channels);
    put_line(now_playing.line3, sizeof now_playing.line3, line3, NowPlaying::max_chars);
}

void forget_track()
{
    now_playing.line1[0] = now_playing.line3[0] = '\0';
    now_playing.paused = false;
}

#include "capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "real_calls.h"

namespace {

bool ends_with_wav(const char* path)
{
    size_t n = strlen(path);
    return n >= 4 && strcmp(path + n - 4, ".wav") == 0;
}

void put_le32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void put_le16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void write_all(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = real::write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

constexpr size_t wav_header_bytes = 44;

}  // namespace

Capture::~Capture()
{
    finish();
}

bool Capture::start(const char* path)
{
    finish();
    // A long play's capture may pass 2 GiB, also in a 32-bit program.
    fd_ = real::open64(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    wav_ = ends_with_wav(path);
    data_bytes_ = 0;
    has_odd_byte_ = false;
    if (fd_ >= 0 && wav_) {
        write_wav_header();  // pwrite: the samples start after it
        lseek(fd_, wav_header_bytes, SEEK_SET);
    }
    return fd_ >= 0;
}

void Capture::finish()
{
    if (fd_ >= 0)
        real::close(fd_);
    fd_ = -1;
}

void Capture::set_channels(int channels)
{
    channels_ = channels;
    if (active() && wav_)
        write_wav_header();
}

void Capture::set_rate(int rate)
{
    rate_ = rate;
    if (active() && wav_)
        write_wav_header();
}

void Capture::write_wav_header()
{
    // Sizes beyond 4 GiB cannot be stated; the header then says the most it can.
    const uint32_t data = data_bytes_ > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu - 36 : static_cast<uint32_t>(data_bytes_);
    const uint16_t block_align = static_cast<uint16_t>(2 * channels_);
    uint8_t h[wav_header_bytes];
    memcpy(h, "RIFF", 4);
    put_le32(h + 4, 36 + data);
    memcpy(h + 8, "WAVEfmt ", 8);
    put_le32(h + 16, 16);
    put_le16(h + 20, 1);  // PCM
    put_le16(h + 22, static_cast<uint16_t>(channels_));
    put_le32(h + 24, static_cast<uint32_t>(rate_));
    put_le32(h + 28, static_cast<uint32_t>(rate_) * block_align);
    put_le16(h + 32, block_align);
    put_le16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    put_le32(h + 40, data);
    if (pwrite(fd_, h, sizeof h, 0) != static_cast<ssize_t>(sizeof h))
        return;  // the capture is a convenience; the device plays on
}

void Capture::append(const uint8_t* data, size_t size)
{
    if (!active() || size == 0)
        return;
    if (!wav_ || !swap_) {
        write_all(fd_, data, size);
    } else {
        // Big-endian samples to little-endian, in small pieces: no allocation.
        uint8_t swapped[4096];
        size_t n = 0;
        for (size_t i = 0; i < size; ++i) {
            if (!has_odd_byte_) {
                odd_byte_ = data[i];
                has_odd_byte_ = true;
                continue;
            }
            swapped[n++] = data[i];
            swapped[n++] = odd_byte_;
            has_odd_byte_ = false;
            if (n == sizeof swapped) {
                write_all(fd_, swapped, n);
                n = 0;
            }
        }
        write_all(fd_, swapped, n);
    }
    data_bytes_ += size;
    if (wav_)
        write_wav_header();
}

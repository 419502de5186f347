#ifndef LIRVA_DSP_CAPTURE_H
#define LIRVA_DSP_CAPTURE_H

#include <cstddef>
#include <cstdint>

// What the simulated device played, kept in a file: the bytes exactly as
// written, or, for a path ending in ".wav", a WAV file (little-endian PCM)
// that any player opens. Each start truncates the file, so it holds the last
// play. The WAV header is brought up to date after every write, so the file
// is valid even when the process never closes the device.
class Capture {
public:
    Capture() = default;
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // False when the file cannot be created; the device plays on without it.
    bool start(const char* path);
    void finish();
    bool active() const { return fd_ >= 0; }

    // The device's settings, as the WAV header describes them.
    void set_big_endian_16(bool big_endian) { swap_ = big_endian; }
    void set_channels(int channels);
    void set_rate(int rate);

    void append(const uint8_t* data, size_t size);

private:
    void write_wav_header();

    int fd_ = -1;
    bool wav_ = false;
    bool swap_ = true;  // AFMT_S16_BE data into a little-endian WAV
    int channels_ = 2;
    int rate_ = 44100;
    uint64_t data_bytes_ = 0;
    bool has_odd_byte_ = false;  // first byte of a sample split across writes
    uint8_t odd_byte_ = 0;
};

#endif

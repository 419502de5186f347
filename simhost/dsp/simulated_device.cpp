#include "simulated_device.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/soundcard.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>

#include "capture.h"
#include "device_answers.h"
#include "event_log.h"
#include "failure_modes.h"
#include "pacer.h"
#include "real_calls.h"

namespace {

constexpr int max_devices = 8;

struct Device {
    int fd = -1;
    uint64_t generation = 0;  // tells a reopened descriptor number apart
    DeviceAnswers answers;
    double speed = 1.0;
    int write_failure = 0;  // errno of every write (LIRVA_DSP_FAIL at its open), or 0
    // What it plays: a 16-bit stereo device at 44100 Hz from each open on,
    // until set otherwise.
    int sample_bytes = 0;
    int channels = 0;
    int rate = 0;
    Pacer pacer;
    Capture capture;
    uint64_t bytes = 0;
    uint64_t writes = 0;

    void reset_settings()
    {
        sample_bytes = 2;
        channels = 2;
        rate = 44100;
        settings_changed();
    }

    // Paces writes by what the settings make of a byte. Set before any write.
    void settings_changed()
    {
        pacer = Pacer(static_cast<double>(rate) * channels * sample_bytes * speed);
        capture.set_channels(channels);
        capture.set_rate(rate);
    }
};

std::mutex table_mutex;
Device devices[max_devices];
uint64_t next_generation = 1;
std::atomic<int> open_devices{0};

Device* find(int fd)
{
    if (fd < 0)
        return nullptr;
    for (Device& d : devices)
        if (d.fd == fd)
            return &d;
    return nullptr;
}

Device* free_slot()
{
    for (Device& d : devices)
        if (d.fd < 0)
            return &d;
    return nullptr;
}

Device* find(int fd, uint64_t generation)
{
    Device* d = find(fd);
    return d != nullptr && d->generation == generation ? d : nullptr;
}

int64_t now_ns()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

// Sleeps until `deadline_ns`; false when a signal cut the sleep short.
bool sleep_until(int64_t deadline_ns)
{
    timespec ts;
    ts.tv_sec = deadline_ns / 1000000000;
    ts.tv_nsec = deadline_ns % 1000000000;
    // Any failure but a signal: do not spin, do not pace.
    return clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != EINTR;
}

double speed_from_environment()
{
    const char* text = getenv("LIRVA_DSP_SPEED");
    if (text == nullptr || *text == '\0')
        return 1.0;
    char* end = nullptr;
    double speed = strtod(text, &end);
    if (end == text || !(speed >= 0))
        return 1.0;
    return speed;
}

// "O_WRONLY", "O_WRONLY|O_CREAT", ... for the log.
void describe_flags(int flags, char* out, size_t size)
{
    const int access = flags & O_ACCMODE;
    const char* name = access == O_RDONLY ? "O_RDONLY" : access == O_WRONLY ? "O_WRONLY" : "O_RDWR";
    int rest = flags & ~O_ACCMODE & ~O_LARGEFILE;
    int n = snprintf(out, size, "%s", name);
    const struct {
        int bit;
        const char* name;
    } known[] = {{O_CREAT, "O_CREAT"},       {O_TRUNC, "O_TRUNC"},     {O_APPEND, "O_APPEND"},
                 {O_NONBLOCK, "O_NONBLOCK"}, {O_CLOEXEC, "O_CLOEXEC"}, {O_EXCL, "O_EXCL"}};
    for (const auto& k : known) {
        if ((rest & k.bit) && n >= 0 && static_cast<size_t>(n) < size) {
            n += snprintf(out + n, size - static_cast<size_t>(n), "|%s", k.name);
            rest &= ~k.bit;
        }
    }
    if (rest != 0 && n >= 0 && static_cast<size_t>(n) < size)
        snprintf(out + n, size - static_cast<size_t>(n), "|0x%x", static_cast<unsigned>(rest));
}

int* int_argument(void* arg)
{
    return static_cast<int*>(arg);
}

}  // namespace

int sim_open(int flags)
{
    char text[128];
    describe_flags(flags, text, sizeof text);
    log_event("open %s", text);
    if (sim_fails_open())
        return -1;

    int fd = real::open("/dev/null", O_WRONLY | (flags & O_CLOEXEC), 0);
    if (fd < 0)
        return -1;

    std::lock_guard<std::mutex> lock(table_mutex);
    Device* d = free_slot();
    if (d == nullptr) {
        real::close(fd);
        errno = EBUSY;
        return -1;
    }
    d->fd = fd;
    d->generation = next_generation++;
    d->answers = answers_from_environment();
    d->speed = speed_from_environment();
    d->write_failure = sim_write_failure();
    d->reset_settings();
    d->bytes = 0;
    d->writes = 0;
    const char* capture = getenv("LIRVA_DSP_CAPTURE");
    if (capture != nullptr && *capture != '\0')
        d->capture.start(capture);
    open_devices.fetch_add(1);
    return fd;
}

bool sim_owns(int fd)
{
    if (open_devices.load(std::memory_order_relaxed) == 0)
        return false;
    std::lock_guard<std::mutex> lock(table_mutex);
    return find(fd) != nullptr;
}

int sim_ioctl(int fd, unsigned long request, void* arg)
{
    std::lock_guard<std::mutex> lock(table_mutex);
    Device* d = find(fd);
    if (d == nullptr) {
        errno = EBADF;
        return -1;
    }
    int* value = int_argument(arg);
    if (value == nullptr &&
        (request == SNDCTL_DSP_SETFMT || request == SNDCTL_DSP_STEREO || request == SNDCTL_DSP_SPEED ||
         request == SNDCTL_DSP_CHANNELS)) {
        errno = EFAULT;
        return -1;
    }
    switch (request) {
    case SNDCTL_DSP_SETFMT:
        log_event("ioctl SETFMT %d", *value);
        // 16-bit samples only; anything else is answered with what we play.
        if (*value != AFMT_S16_LE)
            *value = AFMT_S16_BE;
        if (d->answers.format != 0)
            *value = d->answers.format;
        d->sample_bytes = *value == AFMT_U8 || *value == AFMT_S8 ? 1 : 2;
        d->capture.set_big_endian_16(*value == AFMT_S16_BE);
        d->settings_changed();
        return 0;
    case SNDCTL_DSP_STEREO:
        log_event("ioctl STEREO %d", *value);
        *value = *value != 0 ? 1 : 0;
        if (d->answers.channels != 0)
            *value = d->answers.channels > 1 ? 1 : 0;
        d->channels = *value + 1;
        d->settings_changed();
        return 0;
    case SNDCTL_DSP_CHANNELS:
        log_event("ioctl CHANNELS %d", *value);
        if (*value < 1 || *value > 8)
            *value = 2;
        if (d->answers.channels != 0)
            *value = d->answers.channels;
        d->channels = *value;
        d->settings_changed();
        return 0;
    case SNDCTL_DSP_SPEED:
        log_event("ioctl SPEED %d", *value);
        *value = d->answers.nearest_rate(*value);
        if (d->answers.rate != 0)
            *value = d->answers.rate;
        d->rate = *value;
        d->settings_changed();
        return 0;
    default:
        log_event("ioctl 0x%lx", request);
        errno = EINVAL;
        return -1;
    }
}

ssize_t sim_write(int fd, const void* data, size_t size)
{
    std::unique_lock<std::mutex> lock(table_mutex);
    Device* d = find(fd);
    if (d == nullptr) {
        errno = EBADF;
        return -1;
    }
    if (size == 0)
        return 0;
    if (d->write_failure != 0) {
        // Counted, and logged once: a test tells a spinning writer by the count.
        if (d->writes++ == 0)
            log_event("write fails %s", d->write_failure == EIO ? "EIO" : "EINTR");
        errno = d->write_failure;
        return -1;
    }

    const uint64_t generation = d->generation;
    size_t accepted = size;
    if (d->pacer.paced()) {
        const Pacer::Slot slot = d->pacer.reserve(now_ns(), size);
        // Not holding the lock while the device "plays".
        lock.unlock();
        const bool whole = sleep_until(slot.end_ns);
        lock.lock();
        d = find(fd, generation);
        if (d == nullptr) {
            errno = EBADF;  // closed by another thread meanwhile
            return -1;
        }
        if (!whole)
            accepted = d->pacer.cut_short(slot, now_ns(), size);
    }

    d->capture.append(static_cast<const uint8_t*>(data), accepted);
    d->bytes += accepted;
    d->writes += 1;
    if (accepted == 0) {
        errno = EINTR;
        return -1;
    }
    return static_cast<ssize_t>(accepted);
}

int sim_close(int fd)
{
    {
        std::lock_guard<std::mutex> lock(table_mutex);
        Device* d = find(fd);
        if (d != nullptr) {
            d->capture.finish();
            log_event("close bytes=%llu writes=%llu", static_cast<unsigned long long>(d->bytes),
                      static_cast<unsigned long long>(d->writes));
            d->fd = -1;
            open_devices.fetch_sub(1);
        }
    }
    return real::close(fd);
}

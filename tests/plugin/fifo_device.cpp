#include "fifo_device.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "audio_device.h"

FifoDevice::FifoDevice(std::string path, Reader reader) : path_(std::move(path))
{
    if (mkfifo(path_.c_str(), 0600) != 0)
        throw std::runtime_error("mkfifo " + path_);
    audio_device_path = path_.c_str();
    if (reader == Reader::reading) {
        // Open for reading from the start, so a play can open it at once.
        const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            throw std::runtime_error("open " + path_);
        fd_ = fd;
        reader_ = std::thread([this, fd] { readPlays(fd); });
    }
}

FifoDevice::~FifoDevice()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (reader_.joinable())
        reader_.join();
    audio_device_path = "/dev/dsp";
}

void FifoDevice::drain(double bytesPerSecond)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = false;
        rate_ = bytesPerSecond;
    }
    changed_.notify_all();
}

void FifoDevice::hold()
{
    std::lock_guard<std::mutex> lock(mutex_);
    holding_ = true;
}

std::vector<std::string> FifoDevice::plays() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return plays_;
}

bool FifoDevice::settled() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return !reading_ && closed_ == plays_.size();
}

bool FifoDevice::full() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    int queued = 0;
    const int capacity = fd_ >= 0 ? fcntl(fd_, F_GETPIPE_SZ) : -1;
    return capacity > 0 && ioctl(fd_, FIONREAD, &queued) == 0 && queued >= capacity;
}

bool FifoDevice::waitForWriter(int fd)
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (quit_)
                return false;
        }
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 20) > 0)
            return true;
    }
}

// The FIFO is always open for reading, so that a play can open it for
// writing without waiting: each play's descriptor is opened before the one
// of the play before is closed. A fresh descriptor wakes only when a writer
// has come since it was opened.
void FifoDevice::readPlays(int fd)
{
    char buffer[16384];
    while (fd >= 0 && waitForWriter(fd)) {
        std::unique_lock<std::mutex> lock(mutex_);
        plays_.emplace_back();
        reading_ = true;
        for (;;) {
            changed_.wait(lock, [this] { return !holding_ || quit_; });
            if (quit_)
                break;
            double rate = rate_;
            lock.unlock();
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EAGAIN) {  // the writer is there, its bytes are not yet
                pollfd ready{fd, POLLIN, 0};
                poll(&ready, 1, 20);
            }
            if (n > 0 && rate > 0)
                std::this_thread::sleep_for(std::chrono::duration<double>(n / rate));
            lock.lock();
            if (n == 0 || (n < 0 && errno != EAGAIN))
                break;
            if (n > 0)
                plays_.back().append(buffer, static_cast<size_t>(n));
        }
        const int next = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        close(fd);
        fd = fd_ = next;
        ++closed_;
        reading_ = false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd >= 0)
        close(fd);
    fd_ = -1;
}

#include "fifo_device.h"

#include <fcntl.h>
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
    if (reader == Reader::none) {
        exited_ = true;
        return;
    }
    keeper_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    reader_ = std::thread([this] { readPlays(); });
}

FifoDevice::~FifoDevice()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    // The reader may wait in open() for a writer: be that writer.
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (exited_)
                break;
        }
        int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (reader_.joinable())
        reader_.join();
    if (keeper_ >= 0)
        close(keeper_);
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

void FifoDevice::readPlays()
{
    char buffer[16384];
    for (;;) {
        int fd = open(path_.c_str(), O_RDONLY);   // waits for the next play
        std::unique_lock<std::mutex> lock(mutex_);
        if (quit_ || fd < 0) {
            if (fd >= 0)
                close(fd);
            exited_ = true;
            return;
        }
        plays_.emplace_back();
        reading_ = true;
        for (;;) {
            changed_.wait(lock, [this] { return !holding_ || quit_; });
            double rate = rate_;
            lock.unlock();
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0 && rate > 0)
                std::this_thread::sleep_for(std::chrono::duration<double>(n / rate));
            lock.lock();
            if (n <= 0)
                break;
            plays_.back().append(buffer, static_cast<size_t>(n));
        }
        close(fd);
        ++closed_;
        reading_ = false;
    }
}

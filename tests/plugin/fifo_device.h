#ifndef LIRVA_TESTS_FIFO_DEVICE_H
#define LIRVA_TESTS_FIFO_DEVICE_H

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A stand-in for the audio device: a FIFO that the engine opens as its
// device node, with a reader that keeps what each play wrote. The reader
// drains freely, at a given byte rate, or not at all (then the play thread
// blocks in write() once the pipe is full, as on a real device).
class FifoDevice {
public:
    explicit FifoDevice(std::string path);
    ~FifoDevice();

    void drain(double bytesPerSecond = 0);   // 0 = as fast as it comes
    void hold();

    std::vector<std::string> plays() const;   // the bytes of each open..close
    // Waits until every play so far has been closed and read to its end.
    bool settled() const;

private:
    void readPlays();

    std::string path_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> plays_;
    size_t closed_ = 0;
    bool reading_ = false;
    bool holding_ = false;
    double rate_ = 0;
    bool quit_ = false;
    bool exited_ = false;
    std::thread reader_;
};

#endif

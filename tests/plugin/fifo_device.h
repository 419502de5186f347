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
// blocks in write() once the pipe is full, as on a real device). Without a
// reader the FIFO is a device whose open would block: opened for writing
// without waiting, it fails.
class FifoDevice {
public:
    enum class Reader { reading, none };
    explicit FifoDevice(std::string path, Reader reader = Reader::reading);
    ~FifoDevice();

    void drain(double bytesPerSecond = 0);  // 0 = as fast as it comes
    void hold();

    // The bytes of each stretch in which the device was open. A play that
    // opens it before the reader has read the end of the one before shares
    // that one's entry: a pipe cannot tell its writers apart.
    std::vector<std::string> plays() const;
    // Every play counted so far has been closed and read to its end. The
    // reader counts a play a moment after the play opened the device, so a
    // short play may already be over and not yet counted: callers that
    // know how many plays to expect wait for that number too.
    bool settled() const;
    // The pipe is full while the device holds: a play that writes more
    // blocks in write(). The device's own sign that a write is blocked.
    bool full() const;

private:
    void readPlays(int fd);
    // Waits until `fd` has something to tell (data, or a writer came and
    // went); false once the device is going.
    bool waitForWriter(int fd);

    std::string path_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> plays_;
    int fd_ = -1;  // the reader's current descriptor
    size_t closed_ = 0;
    bool reading_ = false;
    bool holding_ = false;
    double rate_ = 0;
    bool quit_ = false;
    std::thread reader_;
};

#endif

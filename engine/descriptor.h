#ifndef LIRVA_ENGINE_DESCRIPTOR_H
#define LIRVA_ENGINE_DESCRIPTOR_H

#include <unistd.h>

// An open file descriptor that is closed once, by its holder: on reset() or
// when the holder goes. -1 holds none.
class Descriptor {
public:
    Descriptor() = default;
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes what is held and holds `fd` instead.
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

#endif

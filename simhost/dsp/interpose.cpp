// The C library entry points that the simulated device takes over. Opening
// exactly "/dev/dsp" gives a simulated device; ioctl, write and close on its
// descriptor go to the simulation; everything else goes on to the next
// definition (the C library's, or a sanitizer's).
//
// Both the plain and the 64-bit open families are defined here by their own
// names: a 32-bit program built with large-file support calls open64, one
// built without calls open. With _FILE_OFFSET_BITS=64 the C library's
// headers would rename open to open64, so this file is built without it.
#undef _FILE_OFFSET_BITS
#include <fcntl.h>
#include <sys/types.h>

#include <cstdarg>
#include <cstring>

#include "real_calls.h"
#include "simulated_device.h"

namespace {

bool is_dsp(const char* path)
{
    return path != nullptr && strcmp(path, "/dev/dsp") == 0;
}

bool needs_mode(int flags)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

}  // namespace

#define LIRVA_READ_MODE(flags, last)                                                                                   \
    mode_t mode = 0;                                                                                                   \
    if (needs_mode(flags)) {                                                                                           \
        va_list args;                                                                                                  \
        va_start(args, last);                                                                                          \
        mode = static_cast<mode_t>(va_arg(args, int));                                                                 \
        va_end(args);                                                                                                  \
    }

extern "C" {

__attribute__((visibility("default"))) int open(const char* path, int flags, ...)
{
    LIRVA_READ_MODE(flags, flags);
    return is_dsp(path) ? sim_open(flags) : real::open(path, flags, mode);
}

__attribute__((visibility("default"))) int open64(const char* path, int flags, ...)
{
    LIRVA_READ_MODE(flags, flags);
    return is_dsp(path) ? sim_open(flags) : real::open64(path, flags, mode);
}

__attribute__((visibility("default"))) int openat(int dirfd, const char* path, int flags, ...)
{
    LIRVA_READ_MODE(flags, flags);
    return is_dsp(path) ? sim_open(flags) : real::openat(dirfd, path, flags, mode);
}

__attribute__((visibility("default"))) int openat64(int dirfd, const char* path, int flags, ...)
{
    LIRVA_READ_MODE(flags, flags);
    return is_dsp(path) ? sim_open(flags) : real::openat64(dirfd, path, flags, mode);
}

// The fortified forms that _FORTIFY_SOURCE builds call.
__attribute__((visibility("default"))) int __open_2(const char* path, int flags)
{
    return is_dsp(path) ? sim_open(flags) : real::open_2(path, flags);
}

__attribute__((visibility("default"))) int __open64_2(const char* path, int flags)
{
    return is_dsp(path) ? sim_open(flags) : real::open64_2(path, flags);
}

__attribute__((visibility("default"))) int __openat_2(int dirfd, const char* path, int flags)
{
    return is_dsp(path) ? sim_open(flags) : real::openat_2(dirfd, path, flags);
}

__attribute__((visibility("default"))) int __openat64_2(int dirfd, const char* path, int flags)
{
    return is_dsp(path) ? sim_open(flags) : real::openat64_2(dirfd, path, flags);
}

__attribute__((visibility("default"))) int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return sim_owns(fd) ? sim_ioctl(fd, request, arg) : real::ioctl(fd, request, arg);
}

__attribute__((visibility("default"))) ssize_t write(int fd, const void* data, size_t size)
{
    return sim_owns(fd) ? sim_write(fd, data, size) : real::write(fd, data, size);
}

__attribute__((visibility("default"))) int close(int fd)
{
    return sim_owns(fd) ? sim_close(fd) : real::close(fd);
}

}  // extern "C"

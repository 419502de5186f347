#ifndef LIRVA_DSP_REAL_CALLS_H
#define LIRVA_DSP_REAL_CALLS_H

#include <sys/types.h>

// The definitions that come after this library in the search order (the C
// library's, or a sanitizer's interceptors), for everything that is not the
// simulated device and for the simulation's own files.
namespace real {
int open(const char* path, int flags, mode_t mode);
int open64(const char* path, int flags, mode_t mode);
int openat(int dirfd, const char* path, int flags, mode_t mode);
int openat64(int dirfd, const char* path, int flags, mode_t mode);
int open_2(const char* path, int flags);
int open64_2(const char* path, int flags);
int openat_2(int dirfd, const char* path, int flags);
int openat64_2(int dirfd, const char* path, int flags);
int ioctl(int fd, unsigned long request, void* arg);
ssize_t write(int fd, const void* data, size_t size);
int close(int fd);
}  // namespace real

#endif

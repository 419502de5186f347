#include "real_calls.h"

#include <dlfcn.h>

#include <atomic>

namespace {

// Looked up on first use: this library may be entered before its own
// initialisers have run.
template <typename Fn>
Fn next_definition(std::atomic<void*>& cache, const char* name)
{
    void* fn = cache.load(std::memory_order_acquire);
    if (fn == nullptr) {
        fn = dlsym(RTLD_NEXT, name);
        cache.store(fn, std::memory_order_release);
    }
    return reinterpret_cast<Fn>(fn);
}

#define LIRVA_NEXT(type, name)                                                                                         \
    static std::atomic<void*> cache_{nullptr};                                                                         \
    auto fn = next_definition<type>(cache_, name)

}  // namespace

namespace real {

int open(const char* path, int flags, mode_t mode)
{
    LIRVA_NEXT(int (*)(const char*, int, ...), "open");
    return fn(path, flags, mode);
}

int open64(const char* path, int flags, mode_t mode)
{
    LIRVA_NEXT(int (*)(const char*, int, ...), "open64");
    return fn(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, mode_t mode)
{
    LIRVA_NEXT(int (*)(int, const char*, int, ...), "openat");
    return fn(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, mode_t mode)
{
    LIRVA_NEXT(int (*)(int, const char*, int, ...), "openat64");
    return fn(dirfd, path, flags, mode);
}

int open_2(const char* path, int flags)
{
    LIRVA_NEXT(int (*)(const char*, int), "__open_2");
    return fn(path, flags);
}

int open64_2(const char* path, int flags)
{
    LIRVA_NEXT(int (*)(const char*, int), "__open64_2");
    return fn(path, flags);
}

int openat_2(int dirfd, const char* path, int flags)
{
    LIRVA_NEXT(int (*)(int, const char*, int), "__openat_2");
    return fn(dirfd, path, flags);
}

int openat64_2(int dirfd, const char* path, int flags)
{
    LIRVA_NEXT(int (*)(int, const char*, int), "__openat64_2");
    return fn(dirfd, path, flags);
}

int ioctl(int fd, unsigned long request, void* arg)
{
    LIRVA_NEXT(int (*)(int, unsigned long, ...), "ioctl");
    return fn(fd, request, arg);
}

ssize_t write(int fd, const void* data, size_t size)
{
    LIRVA_NEXT(ssize_t(*)(int, const void*, size_t), "write");
    return fn(fd, data, size);
}

int close(int fd)
{
    LIRVA_NEXT(int (*)(int), "close");
    return fn(fd);
}

}  // namespace real

#ifndef LIRVA_TESTS_OPEN_DESCRIPTORS_H
#define LIRVA_TESTS_OPEN_DESCRIPTORS_H

#include <filesystem>
#include <iterator>

// Open file descriptors of this process, to show that nothing leaked (the
// count includes the one that reads them).
inline int open_descriptors()
{
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

#endif

#ifndef LIRVA_TESTS_OPEN_DESCRIPTORS_H
#define LIRVA_TESTS_OPEN_DESCRIPTORS_H

#include <dirent.h>

// Open file descriptors of this process, to show that nothing leaked.
inline int open_descriptors()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr)
            ++count;
        closedir(dir);
    }
    return count;
}

#endif

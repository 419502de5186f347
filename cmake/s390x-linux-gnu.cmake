# Cross build for s390x: a big-endian CPU, so byte-order faults show up in
# the test suite. Uses Debian's cross compiler and the s390x multiarch
# packages of every dependency; the tests run under user-mode qemu.
#   cmake -S . -B build-s390x -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/s390x-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)

# Libraries and CMake package files live under /usr/lib/s390x-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE s390x-linux-gnu)

# "-L /" makes qemu use the multiarch loader and libc in /lib/s390x-linux-gnu,
# the ones the multiarch libraries were built against. The cross
# toolchain's own copy in /usr/s390x-linux-gnu does not match them.
# The tests start simhost and lirva-play through this emulator too.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x;-L;/)

# pkg-config must see only the s390x .pc files (and the arch-independent ones).
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/s390x-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

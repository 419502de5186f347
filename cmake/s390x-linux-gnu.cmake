# Cross build for s390x: a big-endian CPU, so byte-order faults show up in
# the test suite: scripts/cross-test.sh s390x. Debian's cross compiler, and
# Debian's own s390x builds of every library from a root file system of
# their own that scripts/foreign-root.sh makes (the machine needs no s390x
# package); the tests run under user-mode qemu:
#   cmake -S . -B build-s390x -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/s390x-linux-gnu.cmake \
#         -DLIRVA_FOREIGN_ROOT=$(scripts/foreign-root.sh s390x)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE s390x-linux-gnu)

include(${CMAKE_CURRENT_LIST_DIR}/foreign-root.cmake)
lirva_use_foreign_root(s390x ld64.so.1)

# The tests run under this emulator, and so do the programs they start
# (simhost, lirva-play). Without -L: the programs name the root's loader
# themselves (see foreign-root.cmake).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x)

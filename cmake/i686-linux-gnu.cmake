# Build for 32-bit x86: the box's word size (32-bit long and pointers), run
# natively on a 64-bit PC: scripts/cross-test.sh i386. Debian's cross
# compiler, and Debian's own i386 builds of every library from a root file
# system of their own that scripts/foreign-root.sh makes (the machine needs
# no i386 package):
#   cmake -S . -B build-i386 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake \
#         -DLIRVA_FOREIGN_ROOT=$(scripts/foreign-root.sh i386)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

include(${CMAKE_CURRENT_LIST_DIR}/foreign-root.cmake)
lirva_use_foreign_root(i386 ld-linux.so.2)

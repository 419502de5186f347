# The whole suite on 32-bit big-endian PowerPC, the box's kind of CPU, run
# under user-mode qemu: scripts/cross-test.sh powerpc. Debian's cross
# compiler and C library (which uses the FPU; the no-FPU proof is
# scripts/softfloat-check.sh), and the libraries scripts/powerpc-libs.sh
# builds into a prefix:
#   cmake -S . -B build-powerpc -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/powerpc-linux-gnu-qemu.cmake \
#         -DLIRVA_PPC_LIBS=$(scripts/powerpc-libs.sh emulated)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR powerpc)
set(CMAKE_C_COMPILER powerpc-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER powerpc-linux-gnu-g++)

set(LIRVA_PPC_LIBS "" CACHE PATH "Library prefix from scripts/powerpc-libs.sh emulated")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LIRVA_PPC_LIBS)
set(lirva_cross_root /usr/powerpc-linux-gnu)

set(CMAKE_FIND_ROOT_PATH ${LIRVA_PPC_LIBS} ${lirva_cross_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} ${LIRVA_PPC_LIBS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# qemu's "-L PREFIX" would send every path that also exists under PREFIX
# there, "/" included, so the programs would list the prefix instead of the
# file system. Instead the programs name the cross loader by its full path
# and carry the library folders as their search path, and qemu runs without
# -L. An old-style RPATH (not RUNPATH) also serves the libraries of what the
# programs load later: the plug-in keeps its own path, /var/ombrix/plugins.
set(lirva_ppc_link "-Wl,--disable-new-dtags")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
  " ${lirva_ppc_link} -Wl,--dynamic-linker=${lirva_cross_root}/lib/ld.so.1"
  " -Wl,-rpath,${LIRVA_PPC_LIBS}/lib:${lirva_cross_root}/lib")
string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " ${lirva_ppc_link}")
string(APPEND CMAKE_MODULE_LINKER_FLAGS_INIT " ${lirva_ppc_link}")

# The tests run under this emulator, and so do the programs they start
# (simhost, lirva-play), with the simulated device preloaded in the
# emulated program only.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-ppc)

# Example toolchain for the box: a 32-bit big-endian PowerPC 405 without FPU.
# Debian's powerpc-linux-gnu cross compiler plus a copy of the box's root
# file system (its C library and headers), which is not part of this
# repository, and the libraries the plug-in needs (libFLAC, libspeexdsp),
# either from that copy or built by scripts/powerpc-libs.sh box. The toolkit
# and its signal library come from the box's application: their headers
# through LIRVA_HOST_INCLUDE (doc/host.md). Adjust the CPU flags and the
# sysroot to your box; only the plug-in target is meant to be built with it
# (doc/box.md):
#   cmake -S . -B build-box -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/powerpc-linux-gnu.cmake \
#         -DLIRVA_BOX_SYSROOT=/path/to/box-rootfs [-DLIRVA_BOX_LIBS=PREFIX] -DLIRVA_BUILD_SIMHOST=OFF \
#         "-DLIRVA_HOST_INCLUDE=/path/to/box/include;/path/to/box/include/sigc++-1.2"
#   ninja -C build-box lirva
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR powerpc)
# Debian's cross compiler builds objects for the box, but its libgcc and C
# library use the FPU, so linking needs a compiler without (the box SDK's).
set(LIRVA_BOX_CROSS "powerpc-linux-gnu-" CACHE STRING "Prefix of the cross compiler's programs")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LIRVA_BOX_CROSS)
set(CMAKE_C_COMPILER ${LIRVA_BOX_CROSS}gcc)
set(CMAKE_CXX_COMPILER ${LIRVA_BOX_CROSS}g++)

# No FPU: floating point in software. The code keeps to single precision
# (scripts/softfloat-check.sh), which the soft-float helpers do cheapest.
set(CMAKE_C_FLAGS_INIT "-mcpu=405 -msoft-float")
set(CMAKE_CXX_FLAGS_INIT "-mcpu=405 -msoft-float")

# The box's root file system: libraries, headers and .pc files come from
# there, programs (pkg-config, ninja) from this machine.
set(LIRVA_BOX_SYSROOT "" CACHE PATH "Copy of the box's root file system")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LIRVA_BOX_SYSROOT)
if(LIRVA_BOX_SYSROOT)
  set(CMAKE_SYSROOT ${LIRVA_BOX_SYSROOT})
  set(CMAKE_FIND_ROOT_PATH ${LIRVA_BOX_SYSROOT})
  set(ENV{PKG_CONFIG_SYSROOT_DIR} ${LIRVA_BOX_SYSROOT})
  set(ENV{PKG_CONFIG_LIBDIR} ${LIRVA_BOX_SYSROOT}/usr/lib/pkgconfig:${LIRVA_BOX_SYSROOT}/usr/share/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
# Libraries from scripts/powerpc-libs.sh box: the plug-in's pkg-config
# packages come from there alone, the C library from the sysroot.
set(LIRVA_BOX_LIBS "" CACHE PATH "Prefix of scripts/powerpc-libs.sh box")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LIRVA_BOX_LIBS)
if(LIRVA_BOX_LIBS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${LIRVA_BOX_LIBS})
  set(ENV{PKG_CONFIG_LIBDIR} ${LIRVA_BOX_LIBS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# For the toolchain files of the builds against a root file system from
# scripts/foreign-root.sh: LIRVA_FOREIGN_ROOT is the compiler's sysroot,
# find_package, find_library and pkg-config look only there, and the
# programs load the root's loader and libraries, never the machine's.
set(LIRVA_FOREIGN_ROOT "" CACHE PATH "Root file system from scripts/foreign-root.sh")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LIRVA_FOREIGN_ROOT)

# lirva_use_foreign_root(<arch> <loader>): <loader> is the file name of the
# architecture's dynamic loader in the root's /lib. Sets
# LIRVA_ROOT_LIBRARY_DIRS, the root's library folders (packaging carries the
# plug-in's libraries from there).
macro(lirva_use_foreign_root arch loader)
  if(NOT IS_DIRECTORY "${LIRVA_FOREIGN_ROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}")
    message(FATAL_ERROR "LIRVA_FOREIGN_ROOT must name the root of scripts/foreign-root.sh ${arch}")
  endif()
  set(CMAKE_SYSROOT ${LIRVA_FOREIGN_ROOT})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
  set(ENV{PKG_CONFIG_LIBDIR}
    ${LIRVA_FOREIGN_ROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/pkgconfig:${LIRVA_FOREIGN_ROOT}/usr/share/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} ${LIRVA_FOREIGN_ROOT})

  set(LIRVA_ROOT_LIBRARY_DIRS
    ${LIRVA_FOREIGN_ROOT}/lib/${CMAKE_LIBRARY_ARCHITECTURE}
    ${LIRVA_FOREIGN_ROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
  # The programs name the root's loader by its full path and carry the
  # root's library folders as their search path, so they run without any
  # library of that architecture on the machine, and an emulator needs no
  # -L (which would send "/" itself into the root, while the tests walk the
  # real file system). An old-style RPATH (not RUNPATH) also serves the
  # libraries of what the programs load later: the plug-in and the
  # preloaded simulated device.
  list(JOIN LIRVA_ROOT_LIBRARY_DIRS ":" lirva_root_rpath)
  set(lirva_root_link "-Wl,--disable-new-dtags")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
    " ${lirva_root_link} -Wl,--dynamic-linker=${LIRVA_FOREIGN_ROOT}/lib/${loader}"
    " -Wl,-rpath,${lirva_root_rpath}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " ${lirva_root_link}")
  string(APPEND CMAKE_MODULE_LINKER_FLAGS_INIT " ${lirva_root_link}")
endmacro()

# What both Windows toolchain files share; each sets MINGW_TRIPLET first.
# Debian's MinGW-w64 compilers with posix threads (std::thread, std::mutex).
# The dependencies' install prefix is build-windows/TRIPLET/deps/ (made by
# tools/windows/build-deps), or FLINTMOOR_WINDOWS_DEPS, or, where these files
# sit in the module author's kit of the Windows ZIP, the kit itself; headers,
# libraries and pkg-config files are looked up there and in the MinGW
# runtime only, never among the machine's own Linux ones.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${MINGW_TRIPLET})

set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

if(NOT FLINTMOOR_WINDOWS_DEPS AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/lib/cmake/FlintmoorPlugin)
  set(FLINTMOOR_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR})
elseif(NOT FLINTMOOR_WINDOWS_DEPS)
  get_filename_component(FLINTMOOR_WINDOWS_DEPS
    "${CMAKE_CURRENT_LIST_DIR}/../../build-windows/${MINGW_TRIPLET}/deps" ABSOLUTE)
endif()
# try_compile's projects read this file again, without the command line's -D.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FLINTMOOR_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET} ${FLINTMOOR_WINDOWS_DEPS})
list(APPEND CMAKE_PREFIX_PATH ${FLINTMOOR_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg_check_modules runs the machine's pkg-config: it may only see the prefix.
set(ENV{PKG_CONFIG_LIBDIR} "${FLINTMOOR_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

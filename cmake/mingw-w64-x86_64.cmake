# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, in its win32 threads flavour: the
# plugin and the stand-in host start no thread, so they carry no POSIX-thread emulation.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTOR_MINGW_PREFIX x86_64-w64-mingw32)
find_program(VANTOR_MINGW_CXX NAMES ${VANTOR_MINGW_PREFIX}-g++-win32)
if(NOT VANTOR_MINGW_CXX)
  message(FATAL_ERROR "The MinGW-w64 C++ compiler is missing: apt-get install g++-mingw-w64-x86-64-win32")
endif()
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${VANTOR_MINGW_PREFIX}-windres)
find_program(CMAKE_DLLTOOL NAMES ${VANTOR_MINGW_PREFIX}-dlltool REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

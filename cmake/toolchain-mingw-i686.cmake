# 32-bit Windows programs from Linux with Debian's mingw-w64 (the posix
# thread model, for std::thread and std::mutex). Libraries built for the
# target by scripts/build-windows.sh are found in build-windows/deps/install,
# or in PELLORA_WINDOWS_DEPS when set.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

if(DEFINED ENV{PELLORA_WINDOWS_DEPS})
  set(PELLORA_WINDOWS_DEPS "$ENV{PELLORA_WINDOWS_DEPS}")
else()
  set(PELLORA_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/install")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 "${PELLORA_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing beyond the DLLs every Windows has: the C++ and GCC run-times and
# the threads library go into each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

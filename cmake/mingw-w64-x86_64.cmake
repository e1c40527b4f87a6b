# Cross-building the Qt-free core, lsthtool.exe and their tests for 64-bit
# Windows with Debian's mingw-w64 (posix threads, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# LARKSPUR_WINDOWS_QT: the prefix of Qt built for Windows (scripts/qt-windows),
# and LARKSPUR_WINDOWS_PICTURES that of libpng and libjpeg-turbo
# (scripts/common.sh), searched like the MinGW root.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${LARKSPUR_WINDOWS_QT} ${LARKSPUR_WINDOWS_PICTURES})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LARKSPUR_WINDOWS_QT LARKSPUR_WINDOWS_PICTURES)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe each, no MinGW DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(ZLIB_USE_STATIC_LIBS ON)

# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (i686). Its
# programs run in the emulated 32-bit Wine (scripts/wine32-setup.sh).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32-run.sh)

# Cross toolchain for an x64 build of the same sources. It is never shipped:
# it exists so that the Wine tests can still run the real programs on a
# machine whose kernel cannot execute 32-bit code (scripts/test.sh).
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# The 64-bit Windows program (x86_64); see mingw.cmake.
set(KDAT_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

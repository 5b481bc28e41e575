# The 32-bit Windows program (i686); see mingw.cmake.
set(KDAT_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Cross build of the 32-bit Windows player with mingw-w64.
set(ZEPHLET_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)

# Cross build of the same sources as a 64-bit Windows program, for running the
# end-to-end tests where the machine cannot run 32-bit code.
set(ZEPHLET_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)

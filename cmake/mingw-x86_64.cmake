# Cross build for 64-bit Windows with mingw-w64: the same sources under 64-bit Wine.
set(QB_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

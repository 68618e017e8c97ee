# Cross build for 32-bit Windows with mingw-w64: the shipped plug-in.
set(QB_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

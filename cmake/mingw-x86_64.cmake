# The same sources built for 64-bit Windows, for machines that can't run
# 32-bit programs: the tests then run under 64-bit Wine. The product
# shipped is the 32-bit build (mingw-i686.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Cross compilation for 64-bit Windows with Clang and LLD, over the same mingw-w64 headers,
# libraries and GCC runtime (posix threads) as cmake/mingw-w64.cmake: the second compiler that
# keeps the code free of GCC-only spellings.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's mingw-w64 GCC keeps its C++ library in a folder ("12-posix") that Clang's driver does
# not take for a GCC version, so it is named here.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${triple}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET gcc_dirs 0 gcc_dir)
set(cxx_headers ${gcc_dir}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${cxx_headers} -isystem ${cxx_headers}/${triple} -isystem ${cxx_headers}/backward")
# LLD takes archives in any order, so the posix thread library may come first.
# The C++ flags reach the link line too, where -nostdinc++ has nothing to do.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -Wl,-Bstatic -lpthread -Wno-unused-command-line-argument")

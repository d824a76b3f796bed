# Installed dependencies only: Debian's -dev packages natively, the cache
# prefix built by scripts/build-win32-deps.sh for MinGW, vcpkg for MSVC.
find_package(CURL REQUIRED)
find_package(ZLIB REQUIRED)

# {fmt}: the packaged library when there is one, else its headers alone.
find_package(fmt CONFIG QUIET)
if(NOT TARGET fmt::fmt)
  find_path(FMT_INCLUDE_DIR fmt/printf.h REQUIRED)
  add_library(tarnvell_fmt INTERFACE)
  target_include_directories(tarnvell_fmt SYSTEM INTERFACE ${FMT_INCLUDE_DIR})
  target_compile_definitions(tarnvell_fmt INTERFACE FMT_HEADER_ONLY=1)
  add_library(fmt::fmt ALIAS tarnvell_fmt)
endif()

if(NOT WIN32)
  # MD5 comes from libcrypto elsewhere than Windows (CryptoAPI there).
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  find_package(Threads REQUIRED)
endif()

if(TARNVELL_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()

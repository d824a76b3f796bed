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

# --- UI toolkit -------------------------------------------------------------
# pugixml: Debian's package natively, the cache prefix for MinGW.
find_package(pugixml CONFIG QUIET)
if(NOT TARGET pugixml::pugixml)
  if(TARGET pugixml)
    add_library(pugixml::pugixml ALIAS pugixml)
  else()
    find_path(PUGIXML_INCLUDE_DIR pugixml.hpp REQUIRED)
    find_library(PUGIXML_LIBRARY pugixml REQUIRED)
    add_library(pugixml::pugixml UNKNOWN IMPORTED)
    set_target_properties(pugixml::pugixml PROPERTIES IMPORTED_LOCATION ${PUGIXML_LIBRARY}
      INTERFACE_INCLUDE_DIRECTORIES ${PUGIXML_INCLUDE_DIR})
  endif()
endif()

# stb: headers only; the implementations are compiled once inside the
# painter so both platforms build the same code (Debian's libstb.so unused).
find_path(STB_INCLUDE_DIR stb/stb_image.h REQUIRED)
add_library(tarnvell_stb INTERFACE)
target_include_directories(tarnvell_stb SYSTEM INTERFACE ${STB_INCLUDE_DIR})

# LZMA SDK 7z decoder: built from Debian's 7zip sources into the cache by
# scripts/build-native-deps.sh (native) or build-win32-deps.sh (MinGW).
if(CMAKE_CROSSCOMPILING)
  set(TARNVELL_DEPS_PREFIX ${TARNVELL_WIN32_PREFIX})
else()
  set(TARNVELL_DEPS_PREFIX $ENV{TARNVELL_CACHE})
  if(NOT TARNVELL_DEPS_PREFIX)
    set(TARNVELL_DEPS_PREFIX /var/cache/tarnvell)
  endif()
  set(TARNVELL_DEPS_PREFIX ${TARNVELL_DEPS_PREFIX}/native/prefix)
endif()
# Elsewhere (MSVC) pass -DLZMA7Z_LIBRARY=... -DLZMA7Z_INCLUDE_DIR=... for a
# decoder built from the same C files (see scripts/build-native-deps.sh).
find_library(LZMA7Z_LIBRARY 7zdec PATHS ${TARNVELL_DEPS_PREFIX}/lib NO_DEFAULT_PATH REQUIRED)
find_path(LZMA7Z_INCLUDE_DIR 7z.h PATHS ${TARNVELL_DEPS_PREFIX}/include/lzma NO_DEFAULT_PATH REQUIRED)
add_library(tarnvell_7zdec STATIC IMPORTED)
set_target_properties(tarnvell_7zdec PROPERTIES IMPORTED_LOCATION ${LZMA7Z_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${LZMA7Z_INCLUDE_DIR})

if(NOT WIN32)
  find_package(Fontconfig REQUIRED)
  find_package(X11 REQUIRED)
endif()

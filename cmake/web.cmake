# The browser build's libraries: zlib, libmpg123 and libopenmpt built for
# Emscripten into SQ_WEB_DEPS (scripts/web/build-deps.sh), and the SDL 1.2
# that Emscripten carries itself.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "SQ_WEB needs the Emscripten toolchain (emcmake cmake ...)")
endif()
if(NOT SQ_HOST_BUILD OR NOT EXISTS ${SQ_HOST_BUILD}/assets/starquarry_data.mad4)
  message(FATAL_ERROR "SQ_HOST_BUILD must name a native build tree that made the data archive")
endif()
set(SQ_WEB_DEPS "" CACHE PATH "Where the libraries built for the browser were installed")
# The libraries sit outside Emscripten's sysroot.
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
list(APPEND CMAKE_PREFIX_PATH ${SQ_WEB_DEPS})
set(ZLIB_ROOT ${SQ_WEB_DEPS})
set(ENV{PKG_CONFIG_LIBDIR} ${SQ_WEB_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

find_path(SQ_WEB_SDL_INCLUDE SDL.h PATH_SUFFIXES SDL REQUIRED)
add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${SQ_WEB_SDL_INCLUDE})

# No debug information; the code is sized for the page.
add_compile_options(-fexceptions)
set(ZLIB_INCLUDE_DIR ${SQ_WEB_DEPS}/include)
set(ZLIB_LIBRARY ${SQ_WEB_DEPS}/lib/libz.a)

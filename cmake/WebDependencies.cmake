# The browser build (emscripten): the same targets as cmake/Dependencies.cmake, made from what
# scripts/web builds for WebAssembly under KELVO_WEB_PREFIX (SDL2, zlib, Assimp with its 3DS
# importer). What the browser does itself needs no library: the music is decoded by the page,
# the images by stb_image, and GL comes from emscripten's WebGL2 bindings.
set(KELVO_WEB_PREFIX "" CACHE PATH "Where scripts/web installed the WebAssembly libraries")
if(NOT EXISTS ${KELVO_WEB_PREFIX}/lib/libSDL2.a)
  message(FATAL_ERROR "KELVO_WEB_PREFIX has no WebAssembly SDL2: run scripts/web")
endif()
find_package(Threads REQUIRED)

function(kelvo_web_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;INCLUDES" ${ARGN})
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  target_include_directories(${name} SYSTEM INTERFACE ${ARG_INCLUDES})
endfunction()

# Both spellings the sources use, <SDL2/SDL.h> and <SDL.h>, ahead of emscripten's own SDL headers.
kelvo_web_library(PkgConfig::SDL2 LIBS ${KELVO_WEB_PREFIX}/lib/libSDL2.a
                  INCLUDES ${KELVO_WEB_PREFIX}/include ${KELVO_WEB_PREFIX}/include/SDL2)
kelvo_web_library(assimp::assimp
                  LIBS ${KELVO_WEB_PREFIX}/lib/libassimp.a ${KELVO_WEB_PREFIX}/lib/libz.a
                  INCLUDES ${KELVO_WEB_PREFIX}/include)
# toml++ and stb are header-only: their Debian headers are copied where no other system header
# sits beside them.
set(_web_include ${CMAKE_BINARY_DIR}/web-include)
file(COPY /usr/include/toml++ DESTINATION ${_web_include})
file(COPY /usr/include/stb DESTINATION ${_web_include})
kelvo_web_library(PkgConfig::TOMLPP INCLUDES ${_web_include})
add_library(kelvo_stb INTERFACE)
target_include_directories(kelvo_stb SYSTEM INTERFACE ${_web_include}/stb)
foreach(_unused PkgConfig::EPOXY PkgConfig::MPG123 PkgConfig::FFTW3F PkgConfig::TURBOJPEG
        PkgConfig::SPNG kelvo_imgui)
  kelvo_web_library(${_unused})
endforeach()

# Every dependency comes from Debian's packages (scripts/bootstrap installs them).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(FFTW3F REQUIRED IMPORTED_TARGET fftw3f)
pkg_check_modules(TOMLPP REQUIRED IMPORTED_TARGET tomlplusplus)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
find_package(assimp REQUIRED)
find_package(glslang REQUIRED CONFIG)
if(KELVO_TESTS)
  find_package(GTest REQUIRED)
endif()
# stb (BMP and TGA decoding, image writing in tools and tests) is header-only.
add_library(kelvo_stb INTERFACE)
target_include_directories(kelvo_stb SYSTEM INTERFACE /usr/include/stb)
set(KELVO_IMGUI_DIR /usr/include/imgui)
# Dear ImGui for the start-up dialog: Debian's static library holds the core and its SDL2 and
# OpenGL3 backends (the backend headers sit in backends/); its font packing comes from Debian's
# stb library.
find_library(KELVO_IMGUI_LIBRARY NAMES libimgui.a imgui REQUIRED)
find_library(KELVO_STB_LIBRARY NAMES stb REQUIRED)
add_library(kelvo_imgui INTERFACE)
target_include_directories(kelvo_imgui SYSTEM INTERFACE ${KELVO_IMGUI_DIR} ${KELVO_IMGUI_DIR}/backends)
target_link_libraries(kelvo_imgui INTERFACE ${KELVO_IMGUI_LIBRARY} ${KELVO_STB_LIBRARY}
                      PkgConfig::SDL2 ${CMAKE_DL_LIBS})

# Warnings and sanitizers for every target of the project.
set(KELVO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)
if(KELVO_WERROR)
  list(APPEND KELVO_WARNINGS -Werror)
endif()

if(KELVO_SANITIZE)
  string(REPLACE "," ";" _sanitizers "${KELVO_SANITIZE}")
  foreach(_s IN LISTS _sanitizers)
    add_compile_options(-fsanitize=${_s})
    add_link_options(-fsanitize=${_s})
  endforeach()
  add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endif()

# Fuzzing (clang only): coverage for libFuzzer plus address and undefined-behaviour checks on
# every library; the fuzz targets link libFuzzer's main themselves.
if(KELVO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# kelvo_add_library(NAME DIR [LINKS ...]): a static library of the sources in DIR (not
# recursive). Folders are globbed so adding a file needs no edit here.
function(kelvo_add_library name dir)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(_ex IN LISTS ARG_EXCLUDE)
    list(FILTER _sources EXCLUDE REGEX "${_ex}")
  endforeach()
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_compile_options(${name} PRIVATE ${KELVO_WARNINGS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
  endif()
endfunction()

# kelvo_warnings(TARGET): the project's warning set on a target made elsewhere.
function(kelvo_warnings target)
  target_compile_options(${target} PRIVATE ${KELVO_WARNINGS})
endfunction()

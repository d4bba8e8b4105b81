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

# The sanitizers' run-time options, given to every test (kelvo_sanitizer_environment): leaks are
# checked at exit, undefined behaviour stops the program with a stack, and third-party findings
# are suppressed by the files in tests/sanitizers, which say why for each.
#
# Mesa's EGL library and software GL driver are preloaded: SDL unloads them when the last GL
# window goes, and what they keep in their own globals (the EGL display, the driver's tables)
# would then be reported as leaked from an unnamed module, which no suppression can match. A
# preloaded library stays mapped. (ASan then no longer comes first in the library list, which
# does not matter here: neither library defines allocation functions.)
set(KELVO_SANITIZER_ENVIRONMENT)
if(KELVO_SANITIZE)
  set(_suppressions ${PROJECT_SOURCE_DIR}/tests/sanitizers)
  list(APPEND KELVO_SANITIZER_ENVIRONMENT
       "ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:verify_asan_link_order=0"
       "LSAN_OPTIONS=suppressions=${_suppressions}/lsan.supp:print_suppressions=0"
       "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=${_suppressions}/ubsan.supp"
       "TSAN_OPTIONS=second_deadlock_stack=1:suppressions=${_suppressions}/tsan.supp")
  find_file(KELVO_MESA_EGL libEGL_mesa.so.0 PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}
            NO_DEFAULT_PATH)
  find_file(KELVO_MESA_SOFTWARE_DRIVER swrast_dri.so
            PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/dri NO_DEFAULT_PATH)
  if(KELVO_MESA_EGL AND KELVO_MESA_SOFTWARE_DRIVER)
    list(APPEND KELVO_SANITIZER_ENVIRONMENT
         "LD_PRELOAD=${KELVO_MESA_EGL} ${KELVO_MESA_SOFTWARE_DRIVER}")
  endif()
endif()

# kelvo_sanitizer_environment(TEST...): the options above on tests of the calling directory.
function(kelvo_sanitizer_environment)
  if(KELVO_SANITIZER_ENVIRONMENT)
    set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT ${KELVO_SANITIZER_ENVIRONMENT})
  endif()
endfunction()

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

# Helpers that give every module the same shape: a static library with the
# repository root as its include directory (so includes read "catalogue/x.hpp"),
# the project's warnings, and the sanitizers when the preset asks for them.

if(NOT CMAKE_CXX_FLAGS_DEBUG MATCHES "-O")
  # Plain -O0 makes the software-rendered GL tests and the workshop builder
  # needlessly slow; -O1 keeps stepping through code comfortable.
  set(CMAKE_CXX_FLAGS_DEBUG "${CMAKE_CXX_FLAGS_DEBUG} -O1")
  set(CMAKE_C_FLAGS_DEBUG "${CMAKE_C_FLAGS_DEBUG} -O1")
endif()

if(KBH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(kbh_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-qual
    -Wformat=2 -Wimplicit-fallthrough -Wundef)
  if(KBH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# kbh_add_library(<name> SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
function(kbh_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  kbh_warnings(${name})
endfunction()

# kbh_add_executable(<name> SOURCES ... [DEPS ...])
function(kbh_add_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  kbh_warnings(${name})
endfunction()

# kbh_add_test(<name> LABEL unit|gl|e2e SOURCES ... [DEPS ...])
# GoogleTest executable whose cases CTest discovers one by one. Tests that read
# the shared real-world corpus get its location as KBH_CORPUS_DIR and skip with
# a message when it is absent.
function(kbh_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KBH_CORPUS_DIR="${KBH_CORPUS_DIR}"
    KBH_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(KBH_SANITIZE)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/keep_modules_loaded.cpp)
  endif()
  kbh_warnings(${name})
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()

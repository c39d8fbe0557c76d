# Shared helpers for the project's own targets.

set(LUMA_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND LUMA_WARNING_FLAGS -Wshadow=local)
else()
  list(APPEND LUMA_WARNING_FLAGS -Wshadow-uncaptured-local)
endif()

function(luma_warnings target)
  target_compile_options(${target} PRIVATE ${LUMA_WARNING_FLAGS})
  if(LUMA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(LUMA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    # GCC's bounds warnings see the sanitizers' extra paths as out-of-bounds reads (false alarms);
    # the sanitizers check those reads for real at run time.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-maybe-uninitialized)
    endif()
  endif()
endfunction()

# luma_sources(VAR DIR) lists the .cpp and .h files below DIR, leaving out every sub-folder that has
# a CMakeLists.txt of its own (such a folder is a library of its own).
function(luma_sources var dir)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  file(GLOB_RECURSE subs CONFIGURE_DEPENDS ${dir}/*/CMakeLists.txt)
  foreach(sub ${subs})
    get_filename_component(subdir ${sub} DIRECTORY)
    list(FILTER all EXCLUDE REGEX "^${subdir}/")
  endforeach()
  set(${var} ${all} PARENT_SCOPE)
endfunction()

# luma_library(NAME DIR) builds every .cpp below DIR (recursively) into a static library.
# New files are picked up at the next build without editing any list.
function(luma_library name dir)
  luma_sources(sources ${dir})
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    # A subsystem with no code yet still exists as a target others may link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    return()
  endif()
  luma_sources(sources ${dir})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  luma_warnings(${name})
endfunction()

# luma_test(NAME DIR LIBS...) builds every .cpp below DIR into one GoogleTest program (main() from
# luma_test_main unless the folder brings its own; add luma_test_support for application tests) and
# registers each test case with CTest (with a timeout, so a hang fails instead of blocking CI). The
# test environment (offscreen display, silent sound driver, data folder) is set by main() itself.
function(luma_test name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  file(GLOB_RECURSE subs CONFIGURE_DEPENDS ${dir}/*/tests.cmake)
  foreach(sub ${subs})
    get_filename_component(subdir ${sub} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${subdir}/")
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} luma_test_main GTest::gtest GTest::gmock)
  luma_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# luma_link(NAME LIBS...) links a subsystem library whether or not it has code yet.
function(luma_link name)
  get_target_property(kind ${name} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

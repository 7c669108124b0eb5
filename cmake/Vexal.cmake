# Build helpers shared by every folder.

set(VEXAL_WARNINGS -Wall -Wextra)

# vexal_library(<target> [DEPS <targets>...])
# A library of every .cpp in the calling folder; a folder without sources gives
# an interface library so that dependants can name it before it has code.
function(vexal_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${VEXAL_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# vexal_tests(<area> [LABEL <label>] DEPS <targets>...)
# One test program per source folder from tests/<area>/*.cpp, each test labelled
# with the area (or the label given). A folder holding main.cpp supplies its
# own main().
function(vexal_tests area)
  cmake_parse_arguments(ARG "" "LABEL" "DEPS" ${ARGN})
  set(dir ${CMAKE_SOURCE_DIR}/tests/${area})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  string(REPLACE "/" "_" name ${area})
  set(label ${name})
  if(ARG_LABEL)
    set(label ${ARG_LABEL})
  endif()
  set(exe test_${name})
  add_executable(${exe} ${sources})
  target_compile_options(${exe} PRIVATE ${VEXAL_WARNINGS})
  target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  if(EXISTS ${dir}/main.cpp)
    target_link_libraries(${exe} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${exe} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  endif()
  target_compile_definitions(${exe} PRIVATE
    VEXAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VEXAL_TEST_OUTPUT="${CMAKE_BINARY_DIR}/test-output")
  gtest_discover_tests(${exe}
    PROPERTIES LABELS ${label}
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# vexal_fuzzer(<name> SOURCE <file> CORPUS <dir> LABEL <label> DEPS <targets>...)
# The fuzz entry point LLVMFuzzerTestOneInput is always built into a replay
# program that runs every file of the corpus as a test; with VEXAL_FUZZ and
# clang it is also built as a libFuzzer program.
function(vexal_fuzzer name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS;LABEL" "DEPS" ${ARGN})
  add_executable(replay_${name} ${ARG_SOURCE} ${CMAKE_SOURCE_DIR}/tests/fuzz_replay.cpp)
  target_include_directories(replay_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(replay_${name} PRIVATE ${ARG_DEPS})
  add_test(NAME replay_${name} COMMAND replay_${name} ${ARG_CORPUS})
  set_tests_properties(replay_${name} PROPERTIES LABELS ${ARG_LABEL})
  if(VEXAL_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(fuzz_${name} ${ARG_SOURCE})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_${name} PRIVATE ${ARG_DEPS})
  endif()
endfunction()

# The runnable program folder: bin/ with the shipped data beside the executable.
function(vexal_program_folder)
  set(stamp_cmds)
  foreach(data cfg Img Script Lib)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${data})
      list(APPEND stamp_cmds COMMAND ${CMAKE_COMMAND} -E copy_directory
           ${CMAKE_SOURCE_DIR}/${data} ${CMAKE_BINARY_DIR}/bin/${data})
    endif()
  endforeach()
  add_custom_target(program_data ALL ${stamp_cmds} VERBATIM)
endfunction()

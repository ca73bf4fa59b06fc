# qm_library(<target> DEPS <targets...>)
# Makes one library target from every .cpp file in the calling folder, except a program's
# entry point (NAME_main.cpp), which the folder's program takes. A folder that holds no
# sources yet becomes an interface target, so later work only adds files.
function(qm_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PACKAGES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PACKAGES})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# qm_test_dir(<folder> [SHARDS n] [DEPS <targets...>])
# One GoogleTest executable per test folder, linked with the shared test main. CTest runs the
# whole executable as one test (split into n shards that run side by side, for the long ones):
# a process per test case would spend most of the run starting sanitized processes, and the
# test main resets every process-wide object before each test anyway.
function(qm_test_dir dir)
  cmake_parse_arguments(ARG "" "SHARDS" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  string(REPLACE "/" "_" exe "test_${dir}")
  add_executable(${exe} ${sources})
  target_link_libraries(${exe} PRIVATE qm_test_support ${ARG_DEPS})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last})
    set(name ${exe})
    if(ARG_SHARDS GREATER 1)
      set(name ${exe}.${shard})
    endif()
    add_test(NAME ${name} COMMAND ${exe} --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 ENVIRONMENT
      "QM_SOURCE_DIR=${PROJECT_SOURCE_DIR};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endfunction()

# Every target of the project gets the same warnings (errors with VALES_WERROR).
function(vales_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${VALES_WERROR}>:-Werror>)
endfunction()

# A library made of every source file of some folders. New files are picked up on the
# next configure, so adding a module never means editing a list.
function(vales_library name dirs)
  set(sources)
  foreach(dir ${dirs})
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  vales_warnings(${name})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# One GoogleTest executable per test folder:
#   vales_test(name dir libraries... [PROPERTIES prop value ...])
# The optional PROPERTIES go to every test of the executable (for example the fixture
# that starts the private MariaDB server, see tests/CMakeLists.txt).
function(vales_test name dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "PROPERTIES")
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  vales_warnings(${name})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${arg_UNPARSED_ARGUMENTS} test_support GTest::gtest
                                        GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
                       PROPERTIES LABELS ${name} ${arg_PROPERTIES})
endfunction()

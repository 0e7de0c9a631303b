# Every target of the project gets the same warnings (errors with VALES_WERROR).
function(vales_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${VALES_WERROR}>:-Werror>)
endfunction()

# A library made of every source file of some folders (paths relative to the calling
# CMakeLists.txt). New files are picked up on the next configure, so adding a module never
# means editing a list.
#
# Its headers are reached through an include root of its own, <build>/include/<name>, that
# holds links to its folders of src/ under their paths there ("runtime/common",
# "vales/ingreso") and nothing else. A library sees its own root and those of the libraries
# it links, so an include of a library it does not depend on is not found: the layers are
# the link graph, and an include against them does not compile.
function(vales_library name dirs)
  set(sources)
  set(root "${CMAKE_BINARY_DIR}/include/${name}")
  set(linked)
  foreach(dir ${dirs})
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    list(APPEND sources ${found})
    get_filename_component(path "${dir}" ABSOLUTE)
    file(RELATIVE_PATH in_src "${PROJECT_SOURCE_DIR}/src" "${path}")
    # A folder under one already linked comes with it.
    set(inside FALSE)
    foreach(other ${linked})
      if(in_src MATCHES "^${other}/")
        set(inside TRUE)
      endif()
    endforeach()
    if(NOT in_src MATCHES "^\\.\\." AND NOT inside)
      get_filename_component(parent "${root}/${in_src}" DIRECTORY)
      file(MAKE_DIRECTORY "${parent}")
      file(CREATE_LINK "${path}" "${root}/${in_src}" SYMBOLIC)
      list(APPEND linked "${in_src}")
    endif()
  endforeach()
  if(linked)
    # A library of src/: the layers test checks it against the README's table.
    set_property(GLOBAL APPEND PROPERTY VALES_CAPAS ${name})
  endif()
  # The headers' names in debug information and __FILE__ are those of src/, where a debugger
  # finds them, not those of the include root (a later map wins over the build folder's).
  set(map "-ffile-prefix-map=${root}=./src")
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${root}")
    target_compile_options(${name} INTERFACE "${map}")
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${root}")
  target_compile_options(${name} PUBLIC "${map}")
  vales_warnings(${name})
  target_link_libraries(${name} PUBLIC ${ARGN})
  # Every header of the library compiled as the library sees it, also one that none of its
  # own sources includes: a header cannot reach past the library's links either.
  set(includes "")
  foreach(dir ${linked})
    file(GLOB headers RELATIVE "${root}" CONFIGURE_DEPENDS "${root}/${dir}/*.h")
    foreach(header ${headers})
      string(APPEND includes "#include \"${header}\"\n")
    endforeach()
  endforeach()
  if(includes)
    file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/cabeceras/${name}.cpp" CONTENT "${includes}")
    target_sources(${name} PRIVATE "${CMAKE_BINARY_DIR}/cabeceras/${name}.cpp")
  endif()
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

# tarnvell_add_gtest(NAME SOURCES... [LIBS ...] [LABELS ...])
# One CTest test per test executable: a Windows test executable then costs
# one Wine start, not one per case. Tests labelled "threaded" also run
# under TSan.
function(tarnvell_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  if(MINGW)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
  tarnvell_hermetic_environment(${name})
endfunction()

# Every per-user path the code reads follows an environment variable
# elsewhere than Windows: point them all into the build folder so tests
# never touch the real user's files. Under Wine the prefix is the sandbox.
set(TARNVELL_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
file(MAKE_DIRECTORY ${TARNVELL_TEST_HOME}/config ${TARNVELL_TEST_HOME}/data
                    ${TARNVELL_TEST_HOME}/runtime ${TARNVELL_TEST_HOME}/tmp)
function(tarnvell_hermetic_environment test)
  if(NOT WIN32)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      HOME=${TARNVELL_TEST_HOME}
      XDG_CONFIG_HOME=${TARNVELL_TEST_HOME}/config
      XDG_DATA_HOME=${TARNVELL_TEST_HOME}/data
      XDG_RUNTIME_DIR=${TARNVELL_TEST_HOME}/runtime
      TMPDIR=${TARNVELL_TEST_HOME}/tmp)
  endif()
endfunction()

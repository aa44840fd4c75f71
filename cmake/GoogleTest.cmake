# GoogleTest from the sources Debian ships, built for whichever target this is.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Third-party code: our warning policy does not apply to it.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

# du3v_add_test(name SOURCES... LIBS...): one GoogleTest executable, run by
# CTest as one test (one Wine start per executable, not per case). Each run
# leaves a JUnit report in test-results/ that ./du3v test totals.
function(du3v_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:../test-results/${name}.xml
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# qv_add_test(NAME name SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
function(qv_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests
                       PROPERTIES TIMEOUT 600)
endfunction()

# qv_add_bench(NAME name SOURCES ... LIBS ...): one Google Benchmark program.
function(qv_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# qv_has(component): true when the component is part of this configuration.
macro(qv_has comp out)
  if(${comp} IN_LIST QV_COMPONENTS)
    set(${out} TRUE)
  else()
    set(${out} FALSE)
  endif()
endmacro()

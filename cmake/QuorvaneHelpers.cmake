# qv_add_test(NAME name SOURCES ... LIBS ... [DISPLAY]): one GoogleTest executable registered with
# CTest. DISPLAY marks tests that use the X server (windows, synthetic input): they take turns,
# since synthetic pointer and key events are global to the display; -DQV_DISPLAY_TESTS=OFF leaves
# them out (a build whose programs run under an emulator without one).
function(qv_add_test)
  cmake_parse_arguments(T "DISPLAY" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_DISPLAY AND NOT QV_DISPLAY_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(_lock "")
  if(T_DISPLAY)
    set(_lock RESOURCE_LOCK x11display)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Listing the cases would start every program under the emulator at build time: one test each.
    # The slowest (the chain's long runs) take under a minute under wine.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 120 ${_lock})
    return()
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests
                       PROPERTIES TIMEOUT 600
                                  ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
                                  ${_lock})
endfunction()

# qv_add_bench(NAME name SOURCES ... LIBS ...): one Google Benchmark program.
function(qv_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  # Benchmarks share the tests' stand-in plug-in (tests/support).
  target_include_directories(${B_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endfunction()

# qv_component_library(NAME lib [DEPS ...] [EXCLUDE regex]): a library from the .cpp files of the
# current folder (not its subfolders); header-only when there are none.
function(qv_component_library)
  cmake_parse_arguments(L "" "NAME;EXCLUDE" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(L_EXCLUDE)
    list(FILTER _src EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  if(_src)
    add_library(${L_NAME} STATIC ${_src})
    target_include_directories(${L_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${L_NAME} PUBLIC ${L_DEPS})
  else()
    add_library(${L_NAME} INTERFACE)
    target_include_directories(${L_NAME} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${L_NAME} INTERFACE ${L_DEPS})
  endif()
endfunction()

# qv_test_folder(LIBS ... [DISPLAY_TESTS name...]): every *Test.cpp of the current folder becomes its
# own test program, so a test being written in one file never blocks the others from building. The
# programs named in DISPLAY_TESTS use the X server (see qv_add_test's DISPLAY).
function(qv_test_folder)
  cmake_parse_arguments(F "" "" "LIBS;DISPLAY_TESTS" ${ARGN})
  get_filename_component(_comp ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  foreach(_t ${_tests})
    get_filename_component(_n ${_t} NAME_WE)
    set(_display "")
    if(_n IN_LIST F_DISPLAY_TESTS)
      set(_display DISPLAY)
    endif()
    qv_add_test(NAME ${_comp}_${_n} SOURCES ${_t} LIBS ${F_LIBS} ${_display})
  endforeach()
endfunction()

# qv_bench_folder(LIBS ...): every *.cpp of the current folder becomes its own benchmark program.
function(qv_bench_folder)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  get_filename_component(_comp ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB _benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(_b ${_benches})
    get_filename_component(_n ${_b} NAME_WE)
    qv_add_bench(NAME bench_${_comp}_${_n} SOURCES ${_b} LIBS ${F_LIBS})
  endforeach()
endfunction()

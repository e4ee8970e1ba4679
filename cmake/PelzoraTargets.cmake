# One static library per source folder. Sources are picked up from the
# folder itself, so the dependency direction is all a folder declares:
#   pz_add_library(pz_monitor DEPS pz_platform pz_model)
function(pz_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;QT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Core ${ARG_QT})
endfunction()

# Every tst_*.cpp in a test folder becomes one QtTest executable, labelled
# with the subsystem it exercises:
#   pz_add_tests(model LIBS pz_model)
# Each runs in a working folder of its own (PZ_TEST_WORK_DIR/<test>) with
# its home there, so nothing one test program writes into its current
# folder or its home is seen by another one running at the same time.
function(pz_add_tests label)
  cmake_parse_arguments(ARG "" "" "LIBS;SUPPORT" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(src ${tests})
    get_filename_component(base ${src} NAME_WE)
    set(exe ${label}_${base})
    set(work ${PZ_TEST_WORK_DIR}/${exe})
    file(MAKE_DIRECTORY ${work}/home)
    add_executable(${exe} ${src} ${ARG_SUPPORT})
    target_link_libraries(${exe} PRIVATE ${ARG_LIBS} pz_testsupport Qt6::Test)
    add_test(NAME ${exe} COMMAND ${exe} WORKING_DIRECTORY ${work})
    set_tests_properties(${exe} PROPERTIES
      LABELS ${label}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PZ_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;HOME=${work}/home;XDG_CONFIG_HOME=${work}/home/.config;XDG_DATA_HOME=${work}/home/.local/share;ASAN_OPTIONS=detect_leaks=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
      TIMEOUT 600)
  endforeach()
endfunction()

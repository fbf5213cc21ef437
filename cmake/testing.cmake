# Unit tests (GoogleTest) and process-level tests (Python scripts that run a program as a user
# would). In the Windows build both run under Wine in a prefix of the build's own; tests that
# need a display get a private Xvfb. Both services are CTest fixtures, stopped by process id.

enable_testing()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

if(CMAKE_CROSSCOMPILING)
    # Built from Debian's googletest source package with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(SEVEN_GTEST_MAIN GTest::gtest_main)
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gtest ALIAS gtest)
    endif()
else()
    find_package(GTest REQUIRED)
    set(SEVEN_GTEST_MAIN GTest::gtest_main)
endif()

set(SEVEN_XVFB_DIR ${CMAKE_BINARY_DIR}/xvfb)
set(SEVEN_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(WIN32)
    set(SEVEN_TARGET win32)
    if(CMAKE_CROSSCOMPILING)
        configure_file(${PROJECT_SOURCE_DIR}/tests/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
                       @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
        set(SEVEN_RUNNER ${CMAKE_BINARY_DIR}/wine-run)
    endif()
else()
    set(SEVEN_TARGET native)
    set(SEVEN_RUNNER "")
endif()

# Services. The Wine prefix is made under the private display, so that Wine's desktop process
# has a display from the start even when a console test is the first to run.
add_test(NAME service.xvfb.start COMMAND ${PROJECT_SOURCE_DIR}/tests/service xvfb-start ${SEVEN_XVFB_DIR})
add_test(NAME service.xvfb.stop COMMAND ${PROJECT_SOURCE_DIR}/tests/service xvfb-stop ${SEVEN_XVFB_DIR})
set_tests_properties(service.xvfb.start PROPERTIES FIXTURES_SETUP xvfb)
set_tests_properties(service.xvfb.stop PROPERTIES FIXTURES_CLEANUP xvfb)
if(SEVEN_RUNNER)
    add_test(NAME service.wine.start
             COMMAND ${PROJECT_SOURCE_DIR}/tests/service wine-start ${SEVEN_WINE_PREFIX} ${SEVEN_XVFB_DIR})
    add_test(NAME service.wine.stop
             COMMAND ${PROJECT_SOURCE_DIR}/tests/service wine-stop ${SEVEN_WINE_PREFIX})
    set_tests_properties(service.wine.start PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED xvfb)
    set_tests_properties(service.wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# Fixtures every test of this build needs (Wine and its display in the Windows build).
function(_seven_test_fixtures test display)
    set(fixtures "")
    if(SEVEN_RUNNER)
        list(APPEND fixtures wine xvfb)
    elseif(display)
        list(APPEND fixtures xvfb)
    endif()
    if(fixtures)
        set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "${fixtures}")
    endif()
    if(display)
        # One screen, one pointer, one keyboard focus: display tests take turns.
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()

# seven_add_unit_test(<name> SOURCES <files...> [LIBS <targets...>])
function(seven_add_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${SEVEN_GTEST_MAIN})
    add_test(NAME ${name} COMMAND ${name})
    _seven_test_fixtures(${name} FALSE)
endfunction()

# seven_add_process_test(<name> SCRIPT <file.py> PROGRAM <target> [DISPLAY] [TIMEOUT <s>])
# The script is a unittest module; tests/harness.py gives it the program, the target kind
# (native or win32), the runner (Wine's wrapper or nothing) and the private display.
function(seven_add_process_test name)
    cmake_parse_arguments(ARG "DISPLAY" "SCRIPT;PROGRAM;TIMEOUT" "" ${ARGN})
    add_test(NAME ${name} COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT})
    set(env
        "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests"
        "PYTHONDONTWRITEBYTECODE=1"
        "SEVEN_EXE=$<TARGET_FILE:${ARG_PROGRAM}>"
        "SEVEN_TARGET=${SEVEN_TARGET}"
        "SEVEN_RUNNER=${SEVEN_RUNNER}"
        "SEVEN_XVFB_DIR=${SEVEN_XVFB_DIR}"
        "SEVEN_WINE_PREFIX=${SEVEN_WINE_PREFIX}"
        "SEVEN_BUILD_DIR=${CMAKE_BINARY_DIR}"
        "SEVEN_SANITIZE=${SEVEN_SANITIZE}")
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
    if(ARG_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
    _seven_test_fixtures(${name} ${ARG_DISPLAY})
endfunction()

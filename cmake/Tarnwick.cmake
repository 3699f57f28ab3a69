# tarnwick_add_test(<target> PREFIX <ctest prefix> [WIDGETS] [TCP] SOURCES <files...> LIBS <targets...>)
#
# One GoogleTest executable; every test case becomes its own ctest entry named
# <prefix>.<Suite>.<Case>. WIDGETS selects the QApplication main (offscreen by default),
# otherwise a QCoreApplication main is used. The entries are labelled "unit", or "tcp" when the
# executable talks to servers over loopback TCP (TCP).
function(tarnwick_add_test target)
    cmake_parse_arguments(T "WIDGETS;TCP" "PREFIX;TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${target} ${T_SOURCES})
    if(T_WIDGETS)
        target_link_libraries(${target} PRIVATE tarnwick_test_main_widgets)
    else()
        target_link_libraries(${target} PRIVATE tarnwick_test_main_core)
    endif()
    target_link_libraries(${target} PRIVATE ${T_LIBS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set(label unit)
    if(T_TCP)
        set(label tcp)
    endif()
    gtest_discover_tests(${target}
        TEST_PREFIX "${T_PREFIX}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS ${label} ${T_PROPERTIES})
endfunction()

# tarnwick_disable_tests_without(<variable of find_program> <test>...)
#
# Where the program was not found, the tests are disabled (ctest lists them as not run) and
# configuring says why; configuring itself goes on.
function(tarnwick_disable_tests_without program_var)
    if(NOT ${program_var})
        string(REPLACE "-NOTFOUND" "" missing "${${program_var}}")
        list(JOIN ARGN ", " tests)
        message(STATUS "${missing} not found: ${tests} disabled")
        set_tests_properties(${ARGN} PROPERTIES DISABLED TRUE)
    endif()
endfunction()

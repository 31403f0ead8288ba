# glim_add_test(NAME SOURCES a.cpp ... LIBS lib ... LABEL unit|widget)
# One QtTest executable registered with CTest, run on the offscreen platform.
function(glim_add_test name)
    cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE glim_options glim_test_support Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_LABEL)
        set(T_LABEL unit)
    endif()
    if(T_LABEL STREQUAL "widget")
        target_link_libraries(${name} PRIVATE glim_test_support_ui)
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS ${T_LABEL}
        TIMEOUT 600
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;GLIMMERBOOK_TEST=1")
endfunction()

# zanfor_add_test(<name> SOURCES <files...> LIBS <targets...> [DISPLAY])
# One QtTest executable per unit. Tests marked DISPLAY start the web view and
# carry the label "display" so scripts/test runs them under Xvfb, one at a
# time; the others run on Qt's offscreen platform.
function(zanfor_add_test name)
    cmake_parse_arguments(ARG "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_DISPLAY)
        # They share one X display and its keyboard focus: a window of one
        # would take the focus from the other's, so they run one at a time
        # even under ctest -j.
        set_tests_properties(${name} PROPERTIES LABELS display TIMEOUT 300 RESOURCE_LOCK display)
    else()
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
    endif()
endfunction()

# zanfor_add_test(<name> SOURCES <files...> LIBS <targets...> [DISPLAY])
# One QtTest executable per unit. Tests marked DISPLAY start the web view and
# carry the label "display" so scripts/test runs them under Xvfb; the others
# run on Qt's offscreen platform.
function(zanfor_add_test name)
    cmake_parse_arguments(ARG "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_DISPLAY)
        set_tests_properties(${name} PROPERTIES LABELS display TIMEOUT 300)
    else()
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
    endif()
endfunction()

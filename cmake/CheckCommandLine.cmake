# cmake -DPROGRAM=... -DVERSION=... -P CheckCommandLine.cmake
# Runs the built program the way a shell does, without a display: --help and
# --version answer on standard output with success, a wrong option and
# output that cannot be written fail with a message on standard error.
set(failures "")
# check(<arguments, ";"-separated> <expected exit: 0 or "fail"> <stdout regex> <stderr regex> [redirect stdout to file])
function(check arguments expected out_regex err_regex)
    set(redirect "")
    if(ARGC GREATER 4)
        set(redirect OUTPUT_FILE "${ARGV4}")
    endif()
    execute_process(COMMAND "${PROGRAM}" ${arguments} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err ${redirect} TIMEOUT 30)
    if(expected STREQUAL "fail")
        set(rc_ok NOT rc EQUAL 0 AND rc MATCHES "^[0-9]+$")
    else()
        set(rc_ok rc EQUAL 0)
    endif()
    if(NOT (${rc_ok}) OR NOT out MATCHES "${out_regex}" OR NOT err MATCHES "${err_regex}")
        set(failures "${failures}\n  zanfor-layout ${arguments}: exit ${rc}\n    stdout: ${out}\n    stderr: ${err}"
            PARENT_SCOPE)
    endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
check("--version" 0 "^zanfor-layout ${version}\n$" "^$")
check("--help" 0 "^Usage: zanfor-layout \\[options\\] \\[FILE\\]\n.*--version" "^$")
check("--no-such-option" fail "^$" "Unknown option 'no-such-option'")
if(EXISTS /dev/full)
    check("--version" fail "" "cannot write the output" /dev/full)
endif()

if(failures)
    message(FATAL_ERROR "The command line misbehaves:${failures}")
endif()

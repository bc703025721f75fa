# zanfor_strip_notes_on_install(FILE)
#
# A stripped install (cmake --install --strip, and the Debian package) also
# drops the compiler's notes from FILE, a path below the install prefix, as
# Debian's own packages do.
function(zanfor_strip_notes_on_install file)
    if(NOT (CMAKE_STRIP AND UNIX AND NOT APPLE))
        return()
    endif()
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
endfunction()

# cmake -DMIME_XML=... -DDESKTOP=... -DUPDATE_MIME_DATABASE=... -DWORK=... -P CheckMimeType.cmake
# Builds a MIME database from the layout file type alone, as a desktop does
# after installing it, and checks that *.zlayout maps to the type, that the
# type is JSON underneath, and that the menu entry claims the type and passes
# the file on. update-mime-database exits 0 even on a broken file, so any
# output from it fails the check.
set(type "application/x-zanfor-layout")
file(REMOVE_RECURSE "${WORK}")
file(COPY "${MIME_XML}" DESTINATION "${WORK}/mime/packages")
# With the folder on the data path the tool has no reason to say anything.
set(ENV{XDG_DATA_HOME} "${WORK}")
execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${WORK}/mime"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)

set(failures "")
if(NOT rc EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
    string(APPEND failures "\n  update-mime-database: exit ${rc}\n${out}${err}")
endif()
if(EXISTS "${WORK}/mime/globs2")
    file(STRINGS "${WORK}/mime/globs2" globs REGEX "^[0-9]+:${type}:")
else()
    set(globs "")
endif()
if(NOT globs MATCHES "^[0-9]+:${type}:\\*\\.zlayout$")
    string(APPEND failures "\n  globs2 maps ${type} to '${globs}', not to *.zlayout alone")
endif()
if(EXISTS "${WORK}/mime/subclasses")
    file(STRINGS "${WORK}/mime/subclasses" parents REGEX "^${type} ")
endif()
if(NOT parents STREQUAL "${type} application/json")
    string(APPEND failures "\n  ${type} is not a sub-class of application/json")
endif()

file(READ "${DESKTOP}" entry)
if(NOT entry MATCHES "\nMimeType=([^\n]*;)?${type};")
    string(APPEND failures "\n  the menu entry does not name ${type}")
endif()
if(NOT entry MATCHES "\nExec=[^\n]* %f\n")
    string(APPEND failures "\n  the menu entry does not pass the file")
endif()

if(failures)
    message(FATAL_ERROR "The layout file type is not registered as it should be:${failures}")
endif()

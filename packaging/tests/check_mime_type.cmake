# Builds a MIME database from the installed package alone, as update-mime-database does on
# the user's machine, and checks that *.aiml resolves to the AIML type, a kind of XML.

cmake_minimum_required(VERSION 3.25)

find_program(UPDATE_MIME_DATABASE update-mime-database)
if(NOT UPDATE_MIME_DATABASE)
    message(FATAL_ERROR "update-mime-database not found: install shared-mime-info (scripts/setup.sh does)")
endif()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(COPY "${INSTALLED}/${DATADIR}/mime/packages" DESTINATION "${SCRATCH}")
# The scratch folder is made a data folder so that the tool says nothing unless something is wrong.
get_filename_component(data_home "${SCRATCH}" DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env "XDG_DATA_HOME=${data_home}" "XDG_DATA_DIRS=${data_home}"
        ${UPDATE_MIME_DATABASE} "${SCRATCH}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "update-mime-database (exit ${rc}):\n${out}")
endif()

file(STRINGS "${SCRATCH}/globs2" globs)
file(STRINGS "${SCRATCH}/subclasses" subclasses)
file(STRINGS "${SCRATCH}/types" types)
message(STATUS "types: ${types}; globs: ${globs}; subclasses: ${subclasses}")
if(NOT types STREQUAL "application/x-aiml")
    message(FATAL_ERROR "expected exactly the type application/x-aiml, got: ${types}")
endif()
if(NOT "50:application/x-aiml:*.aiml" IN_LIST globs)
    message(FATAL_ERROR "*.aiml does not map to application/x-aiml")
endif()
if(NOT "application/x-aiml application/xml" IN_LIST subclasses)
    message(FATAL_ERROR "application/x-aiml is not declared a sub-class of application/xml")
endif()
if(NOT EXISTS "${SCRATCH}/application/x-aiml.xml")
    message(FATAL_ERROR "the database has no entry application/x-aiml.xml")
endif()
file(READ "${SCRATCH}/application/x-aiml.xml" entry)
if(NOT entry MATCHES "<comment>[^<]+</comment>")
    message(FATAL_ERROR "the AIML type has no comment")
endif()

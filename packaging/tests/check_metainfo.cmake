# appstreamcli on the installed metainfo: the file alone, then the tree, which also checks
# that the desktop entry it launches and its icon are installed. Pedantic notes pass.

cmake_minimum_required(VERSION 3.25)

find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
    message(FATAL_ERROR "appstreamcli not found: install the appstream package (scripts/setup.sh does)")
endif()

foreach(args "validate;--no-net;${INSTALLED}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml"
        "validate-tree;--no-net;${INSTALLED}")
    execute_process(COMMAND ${APPSTREAMCLI} ${args} --no-color
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    message("${out}")
    if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EWI]: ")
        message(FATAL_ERROR "appstreamcli ${args} reported problems (exit ${rc})")
    endif()
endforeach()

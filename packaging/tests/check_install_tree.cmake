# Installs the build into a scratch DESTDIR and checks the tree: exactly the expected files,
# the data files unchanged, icons of the right pixel sizes, and the desktop entry, metainfo
# and MIME package naming one another consistently.

cmake_minimum_required(VERSION 3.25)

set(failures)
macro(fail text)
    list(APPEND failures "${text}")
endmacro()

file(REMOVE_RECURSE "${DESTDIR}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${DESTDIR}"
        ${CMAKE_COMMAND} --install "${BUILD_DIR}" --config "${CONFIG}" --prefix "${PREFIX}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()
set(root "${DESTDIR}${PREFIX}")

file(GLOB data_sources RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*")
set(expected
    "${BINDIR}/aimlvorrel"
    "${DATADIR}/applications/${APP_ID}.desktop"
    "${DATADIR}/metainfo/${APP_ID}.metainfo.xml"
    "${DATADIR}/mime/packages/${APP_ID}.xml"
    "${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg"
    "${MANDIR}/man1/aimlvorrel.1.gz"
    "${DATADIR}/bash-completion/completions/aimlvorrel"
    "${DATADIR}/doc/aimlvorrel/copyright")
# Each translation is installed compiled, beside the other program files.
file(GLOB ts_sources RELATIVE "${SOURCE_DIR}/translations" "${SOURCE_DIR}/translations/*.ts")
list(TRANSFORM ts_sources REPLACE "\\.ts$" ".qm")
foreach(name IN LISTS data_sources ts_sources)
    list(APPEND expected "${DATADIR}/aimlvorrel/${name}")
endforeach()
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected "${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()

file(GLOB_RECURSE installed RELATIVE "${root}" "${root}/*")
file(GLOB_RECURSE everything RELATIVE "${DESTDIR}" "${DESTDIR}/*")
list(LENGTH installed in_prefix)
list(LENGTH everything in_destdir)
if(NOT in_prefix EQUAL in_destdir)
    fail("files were installed outside the prefix ${PREFIX}")
endif()
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(unexpected ${installed})
list(REMOVE_ITEM unexpected ${expected})
foreach(name IN LISTS missing)
    fail("missing: ${name}")
endforeach()
foreach(name IN LISTS unexpected)
    fail("not expected: ${name}")
endforeach()

execute_process(COMMAND test -x "${root}/${BINDIR}/aimlvorrel" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    fail("${BINDIR}/aimlvorrel is not executable")
endif()

foreach(name IN LISTS data_sources)
    set(copy "${root}/${DATADIR}/aimlvorrel/${name}")
    if(EXISTS "${copy}")
        file(SHA256 "${SOURCE_DIR}/data/${name}" want)
        file(SHA256 "${copy}" got)
        if(NOT want STREQUAL got)
            fail("${name} differs from data/${name}")
        endif()
    endif()
endforeach()

# A PNG starts with its 8-byte signature, then the IHDR chunk: length, type, width, height.
foreach(size IN LISTS ICON_SIZES)
    set(png "${root}/${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
    if(NOT EXISTS "${png}")
        continue()
    endif()
    file(READ "${png}" head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 24 8 chunk)
    string(SUBSTRING "${head}" 32 8 width)
    string(SUBSTRING "${head}" 40 8 height)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
        fail("${size}x${size} icon is not a PNG")
        continue()
    endif()
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        fail("${size}x${size} icon is ${width}x${height}")
    endif()
endforeach()

set(svg "${root}/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg")
if(EXISTS "${svg}")
    file(READ "${svg}" text)
    if(NOT text MATCHES "<svg[^>]*viewBox=")
        fail("the scalable icon has no <svg> element with a viewBox")
    endif()
endif()

# The pieces refer to one another by name; a rename of one must not leave the others behind.
set(desktop "${root}/${DATADIR}/applications/${APP_ID}.desktop")
set(metainfo "${root}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
set(mime "${root}/${DATADIR}/mime/packages/${APP_ID}.xml")
if(EXISTS "${desktop}" AND EXISTS "${metainfo}" AND EXISTS "${mime}")
    file(READ "${desktop}" entry)
    file(READ "${metainfo}" meta)
    file(READ "${mime}" types)
    if(NOT types MATCHES "<mime-type type=\"([^\"]+)\"")
        fail("the MIME package declares no type")
    endif()
    set(type "${CMAKE_MATCH_1}")
    if(NOT types MATCHES "<glob pattern=\"\\*\\.aiml\"/>")
        fail("the MIME package has no *.aiml glob")
    endif()
    foreach(line "Exec=aimlvorrel %f" "Icon=${APP_ID}" "MimeType=${type};" "Categories=Development;TextEditor;")
        string(FIND "${entry}" "\n${line}\n" at)
        if(at EQUAL -1)
            fail("the desktop entry lacks the line ${line}")
        endif()
    endforeach()
    foreach(element "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
            "<icon type=\"stock\">${APP_ID}</icon>" "<mediatype>${type}</mediatype>" "<binary>aimlvorrel</binary>")
        string(FIND "${meta}" "${element}" at)
        if(at EQUAL -1)
            fail("the metainfo lacks ${element}")
        endif()
    endforeach()
    # Releases are listed newest first: the first one is this version.
    if(NOT meta MATCHES "<release version=\"([^\"]+)\"" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
        fail("the metainfo's newest release is \"${CMAKE_MATCH_1}\", the project is ${VERSION}")
    endif()
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "installed tree under ${root}:\n  ${text}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed under ${root}")

# Builds the Debian package with CPack into a scratch folder, lists it, checks its control
# fields, and runs lintian on it where lintian is installed: any error or warning fails, and so
# does a binary linked without relro, bind-now or PIE. Skipped where dpkg-deb is missing (a machine that is
# not Debian-based).

cmake_minimum_required(VERSION 3.25)

find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
    message("SKIPPED: dpkg-deb not found")
    return()
endif()

file(REMOVE_RECURSE "${OUT}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR
        ${CMAKE_CPACK_COMMAND} -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -C "${CONFIG}" -B "${OUT}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed (${rc})")
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb "${OUT}/aimlvorrel_${VERSION}_${arch}.deb")
if(NOT EXISTS "${deb}")
    file(GLOB made "${OUT}/*.deb")
    message(FATAL_ERROR "expected ${deb}, cpack made: ${made}")
endif()

execute_process(COMMAND ${DPKG_DEB} -I "${deb}" OUTPUT_VARIABLE info RESULT_VARIABLE rc)
message("dpkg-deb -I:\n${info}")
execute_process(COMMAND ${DPKG_DEB} -c "${deb}" OUTPUT_VARIABLE contents RESULT_VARIABLE rc2)
message("dpkg-deb -c:\n${contents}")
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
endif()

set(failures)
function(field name out)
    execute_process(COMMAND ${DPKG_DEB} -f "${deb}" ${name} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(${out} "${value}" PARENT_SCOPE)
endfunction()
foreach(pair "Package=aimlvorrel" "Version=${VERSION}" "Architecture=${arch}" "Section=${SECTION}")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 want)
    field(${name} got)
    if(NOT got STREQUAL want)
        list(APPEND failures "${name} is \"${got}\", expected \"${want}\"")
    endif()
endforeach()
field(Maintainer maintainer)
if(NOT maintainer MATCHES "^[^<]+ <[^@>]+@[^>]+>$")
    list(APPEND failures "Maintainer \"${maintainer}\" is not \"name <address>\"")
endif()
# The domains kept for examples stand for a real address that was never filled in.
if(info MATCHES "example\\.(org|com|net)|\\.example[^a-z]")
    list(APPEND failures "a control field names a placeholder domain")
endif()
field(Description description)
if(NOT description MATCHES "^[^\n]+\n .+")
    list(APPEND failures "Description lacks a synopsis line and a long description")
endif()
# Libraries dpkg-shlibdeps computes from the executable, and the windowing plugins it cannot see.
field(Depends depends)
foreach(package libqt6widgets6 "libqscintilla2-qt6-[0-9]+" libc6 qt6-qpa-plugins)
    if(NOT depends MATCHES "(^|, )${package}( \\(|,|$)")
        list(APPEND failures "Depends lacks ${package}: ${depends}")
    endif()
endforeach()

# Every file under /usr, owned by root, and the pieces the desktop needs.
string(REPLACE "\n" ";" lines "${contents}")
foreach(line IN LISTS lines)
    if(line AND NOT line MATCHES " root/root ")
        list(APPEND failures "not owned by root: ${line}")
    endif()
    if(line AND NOT line MATCHES " \\./(usr/.*)?$")
        list(APPEND failures "outside /usr: ${line}")
    endif()
endforeach()
foreach(path "usr/bin/aimlvorrel" "usr/${DATADIR}/aimlvorrel/template.dat" "usr/${DATADIR}/aimlvorrel/AIML Tags.htm"
        "usr/${DATADIR}/applications/${APP_ID}.desktop" "usr/${DATADIR}/metainfo/${APP_ID}.metainfo.xml"
        "usr/${DATADIR}/mime/packages/${APP_ID}.xml" "usr/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg"
        "usr/${DATADIR}/icons/hicolor/256x256/apps/${APP_ID}.png" "usr/${DATADIR}/doc/aimlvorrel/copyright"
        "usr/${DATADIR}/doc/aimlvorrel/changelog.Debian.gz" "usr/${DATADIR}/man/man1/aimlvorrel.1.gz"
        "usr/${DATADIR}/bash-completion/completions/aimlvorrel")
    string(FIND "${contents}" " ./${path}\n" at)
    if(at EQUAL -1)
        list(APPEND failures "the package lacks /${path}")
    endif()
endforeach()
if(NOT contents MATCHES "\n-rwxr-xr-x root/root +[0-9]+ [^\n]* \\./usr/bin/aimlvorrel\n")
    list(APPEND failures "/usr/bin/aimlvorrel is not an executable file")
endif()

find_program(LINTIAN lintian)
if(LINTIAN)
    # Missing hardening is reported only among the informational tags. Fortified functions are
    # left out: lintian sees them only where a call's bound is known when compiling, and no call
    # of this program has one (its reads go to buffers sized at run time).
    execute_process(COMMAND ${LINTIAN} --fail-on error,warning --display-info "${deb}"
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    message("lintian (exit ${rc}):\n${out}")
    if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EW]: " OR out MATCHES "hardening-no-(relro|bindnow|pie)")
        list(APPEND failures "lintian reports problems (exit ${rc}):\n${out}${err}")
    endif()
else()
    message("lintian not found: the package is not checked against Debian policy")
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${deb}:\n  ${text}")
endif()

# Desktop integration, install rules and the Debian package of AIML Vorrel.
# Included at the end of the top CMakeLists.txt, after the targets exist.

include(GNUInstallDirs)

set(VORREL_APP_ID com.cendaro.AimlVorrel)
set(VORREL_ICON_SIZES 16 32 48 64 128 256)
# The day this version was released, as the manual page and the Debian changelog give it.
set(VORREL_RELEASE_DATE 2026-12-08)
set(VORREL_RELEASE_STAMP "Tue, 08 Dec 2026 12:00:00 +0000")
# The Debian package's own revision of this version.
set(VORREL_DEB_RELEASE 1)
set(VORREL_DEB_VERSION ${PROJECT_VERSION}-${VORREL_DEB_RELEASE})

# Debian policy wants a maintainer's name and mail address. The project has no address of its
# own: the package names whoever builds it, from the variables Debian's own tools read, and
# without them an address in the reserved domain .invalid, which can reach no one by design.
if(DEFINED ENV{DEBEMAIL} AND NOT "$ENV{DEBEMAIL}" STREQUAL "")
    if("$ENV{DEBEMAIL}" MATCHES "<")
        set(vorrel_maintainer "$ENV{DEBEMAIL}")
    else()
        set(vorrel_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
    endif()
else()
    set(vorrel_maintainer "AIML Vorrel packager <nobody@aimlvorrel.invalid>")
endif()
set(AIMLVORREL_MAINTAINER "${vorrel_maintainer}" CACHE STRING "The Debian package's maintainer, as: name <address>")

# The window icon comes from the resource.
set(VORREL_ICON_PNGS)
foreach(size IN LISTS VORREL_ICON_SIZES)
    list(APPEND VORREL_ICON_PNGS "${CMAKE_CURRENT_LIST_DIR}/icons/aimlvorrel-${size}.png")
endforeach()
qt_add_resources(aimlvorrel vorrel_icons
    PREFIX /icons
    BASE "${CMAKE_CURRENT_LIST_DIR}/icons"
    FILES ${VORREL_ICON_PNGS})

# A parent project that pulls this one in with add_subdirectory() gets no install rules
# unless it asks for them.
option(AIMLVORREL_INSTALL "Install rules for AIML Vorrel" ${PROJECT_IS_TOP_LEVEL})
if(NOT AIMLVORREL_INSTALL)
    return()
endif()

# Gzipped as Debian wants them: best compression, no file name or time stamp, so that the same
# text always gives the same bytes.
function(vorrel_gzip source output)
    find_program(VORREL_GZIP gzip REQUIRED)
    execute_process(COMMAND ${VORREL_GZIP} -9nc INPUT_FILE "${source}" OUTPUT_FILE "${output}"
        COMMAND_ERROR_IS_FATAL ANY)
endfunction()
configure_file("${CMAKE_CURRENT_LIST_DIR}/aimlvorrel.1.in" aimlvorrel.1 @ONLY)
vorrel_gzip("${CMAKE_CURRENT_BINARY_DIR}/aimlvorrel.1" "${CMAKE_CURRENT_BINARY_DIR}/aimlvorrel.1.gz")
configure_file("${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in" changelog.Debian @ONLY)
vorrel_gzip("${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian" "${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz")

install(TARGETS aimlvorrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for these beside itself first, then in <prefix>/share/aimlvorrel.
install(DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/data/" DESTINATION ${CMAKE_INSTALL_DATADIR}/aimlvorrel)
install(FILES ${VORREL_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/aimlvorrel)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/${VORREL_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/${VORREL_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/aimlvorrel-mime.xml"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${VORREL_APP_ID}.xml)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/icons/aimlvorrel.svg"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${VORREL_APP_ID}.svg)
foreach(size IN LISTS VORREL_ICON_SIZES)
    install(FILES "${CMAKE_CURRENT_LIST_DIR}/icons/aimlvorrel-${size}.png"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${VORREL_APP_ID}.png)
endforeach()
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/aimlvorrel.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/aimlvorrel.bash-completion"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME aimlvorrel)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/aimlvorrel)
# The Debian changelog and lintian's overrides belong in the package only, so a plain install
# leaves them out.
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/aimlvorrel
    COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides" DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME aimlvorrel COMPONENT debian EXCLUDE_FROM_ALL)

# CPack writes its configuration into the top build folder: only for the top project.
if(PROJECT_IS_TOP_LEVEL)
    set(CPACK_PACKAGE_NAME aimlvorrel)
    set(CPACK_PACKAGE_VENDOR Cendaro)
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_CONTACT "${AIMLVORREL_MAINTAINER}")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for AIML chat bot files")
    # Lines of at most 80 characters, as Debian wants them.
    string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
        "AIML Vorrel shows the categories of an AIML 1.0 document as rows of a table,"
        "adds, edits and deletes them in a dialog, regenerates the AIML text into an"
        "editable preview, checks the document, tries the categories on a built-in"
        "test bot, reports counts and prints."
        ""
        "Its command line checks documents and talks to their bot without a display.")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    # The program's own files, and the Debian ones a plain install leaves out.
    set(CPACK_INSTALL_CMAKE_PROJECTS
        "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/" "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
    set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORREL_DEB_RELEASE})
    set(CPACK_STRIP_FILES ON)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION editors)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Libraries come from dpkg-shlibdeps; Qt's windowing plugins are loaded at run time,
    # so no linked library names them.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    # The window design asks for "MS Sans Serif"; Liberation Sans keeps the captions in place.
    # Qt's own dialogs and buttons in the desktop's language.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
    include(CPack)
endif()

if((PROJECT_IS_TOP_LEVEL OR AIMLVORREL_BUILD_TESTS) AND BUILD_TESTING)
    include("${CMAKE_CURRENT_LIST_DIR}/tests/PackagingTests.cmake")
endif()

# Desktop integration, install rules and the Debian package of AIML Vorrel.
# Included at the end of the top CMakeLists.txt, after the targets exist.

include(GNUInstallDirs)

set(VORREL_APP_ID com.cendaro.AimlVorrel)
set(VORREL_ICON_SIZES 16 32 48 64 128 256)

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

install(TARGETS aimlvorrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for these beside itself first, then in <prefix>/share/aimlvorrel.
install(DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/data/" DESTINATION ${CMAKE_INSTALL_DATADIR}/aimlvorrel)
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

# CPack writes its configuration into the top build folder: only for the top project.
if(PROJECT_IS_TOP_LEVEL)
    set(CPACK_PACKAGE_NAME aimlvorrel)
    set(CPACK_PACKAGE_VENDOR Cendaro)
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_CONTACT "AIML Vorrel developers <vorrel@example.org>")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for AIML chat bot files")
    string(JOIN "" CPACK_PACKAGE_DESCRIPTION
        "AIML Vorrel shows the categories of an AIML 1.0 document as rows of a table, "
        "adds, edits and deletes them in a dialog, regenerates the AIML text into an editable "
        "preview, tries the categories on a built-in test bot, reports counts and prints.")
    set(CPACK_PACKAGE_HOMEPAGE_URL https://vorrel.example.org)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
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
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
    include(CPack)
endif()

if((PROJECT_IS_TOP_LEVEL OR AIMLVORREL_BUILD_TESTS) AND BUILD_TESTING)
    include("${CMAKE_CURRENT_LIST_DIR}/tests/PackagingTests.cmake")
endif()

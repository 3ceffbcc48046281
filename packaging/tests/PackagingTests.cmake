# Tests of the installed tree and the Debian package. Each works in a scratch folder of its
# own under the build folder, so they run in parallel with the other suites.

set(VORREL_PACKAGING_SCRATCH "${CMAKE_CURRENT_BINARY_DIR}/packaging-tests")
set(VORREL_INSTALL_ROOT "${VORREL_PACKAGING_SCRATCH}/tree")
set(VORREL_INSTALL_PREFIX /usr)
set(VORREL_INSTALLED "${VORREL_INSTALL_ROOT}${VORREL_INSTALL_PREFIX}")

add_test(NAME install_tree
    COMMAND ${CMAKE_COMMAND}
        -DBUILD_DIR=${CMAKE_CURRENT_BINARY_DIR} -DCONFIG=$<CONFIG>
        -DDESTDIR=${VORREL_INSTALL_ROOT} -DPREFIX=${VORREL_INSTALL_PREFIX}
        -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
        -DAPP_ID=${VORREL_APP_ID} -DVERSION=${PROJECT_VERSION} "-DICON_SIZES=${VORREL_ICON_SIZES}"
        -DBINDIR=${CMAKE_INSTALL_BINDIR} -DDATADIR=${CMAKE_INSTALL_DATADIR} -DMANDIR=${CMAKE_INSTALL_MANDIR}
        -P ${CMAKE_CURRENT_LIST_DIR}/check_install_tree.cmake)
set_tests_properties(install_tree PROPERTIES FIXTURES_SETUP vorrel_installed)

# Hints (suggestions such as a third menu category) pass; warnings and errors fail.
add_test(NAME install_desktop_entry
    COMMAND desktop-file-validate "${VORREL_INSTALLED}/${CMAKE_INSTALL_DATADIR}/applications/${VORREL_APP_ID}.desktop")
set_tests_properties(install_desktop_entry PROPERTIES
    FIXTURES_REQUIRED vorrel_installed FAIL_REGULAR_EXPRESSION "error:;warning:")

# validate-tree also checks the metainfo against the installed desktop entry and icons.
add_test(NAME install_metainfo
    COMMAND ${CMAKE_COMMAND} -DINSTALLED=${VORREL_INSTALLED} -DDATADIR=${CMAKE_INSTALL_DATADIR}
        -DAPP_ID=${VORREL_APP_ID} -P ${CMAKE_CURRENT_LIST_DIR}/check_metainfo.cmake)
set_tests_properties(install_metainfo PROPERTIES FIXTURES_REQUIRED vorrel_installed)

add_test(NAME install_mime_type
    COMMAND ${CMAKE_COMMAND} -DINSTALLED=${VORREL_INSTALLED} -DDATADIR=${CMAKE_INSTALL_DATADIR}
        -DSCRATCH=${VORREL_PACKAGING_SCRATCH}/mime -P ${CMAKE_CURRENT_LIST_DIR}/check_mime_type.cmake)
set_tests_properties(install_mime_type PROPERTIES FIXTURES_REQUIRED vorrel_installed)

if(PROJECT_IS_TOP_LEVEL)
    add_test(NAME package_deb
        COMMAND ${CMAKE_COMMAND}
            -DBUILD_DIR=${CMAKE_CURRENT_BINARY_DIR} -DCONFIG=$<CONFIG> -DOUT=${VORREL_PACKAGING_SCRATCH}/deb
            -DAPP_ID=${VORREL_APP_ID} -DVERSION=${VORREL_DEB_VERSION} -DSECTION=${CPACK_DEBIAN_PACKAGE_SECTION}
            -DDATADIR=${CMAKE_INSTALL_DATADIR} -P ${CMAKE_CURRENT_LIST_DIR}/check_deb.cmake)
    set_tests_properties(package_deb PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED:" TIMEOUT 300)
endif()

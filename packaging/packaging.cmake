# SPDX-License-Identifier: MIT
# Installing: the bundle, ime-enlist and cqkv under one prefix (/usr/local by default), and a
# Debian package of the same files (`cpack -G DEB`) that registers the input method with the
# system's IBus on installation and unregisters it on removal.
if(NOT TARGET kv_bundle OR NOT TARGET ime-enlist)
    return()
endif()

include(GNUInstallDirs)
# The bundle stays whole: the engine finds its table and its component through its own path.
set(KV_INSTALL_BUNDLE_DIR lib/cqinputkv)
set(KV_INSTALL_BUNDLE ${KV_INSTALL_BUNDLE_DIR}/CQInputKV.app)

install(TARGETS ime-enlist cqkv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS CQInputKV RUNTIME DESTINATION ${KV_INSTALL_BUNDLE}/Contents/MacOS)
install(DIRECTORY ${CMAKE_BINARY_DIR}/CQInputKV.app DESTINATION ${KV_INSTALL_BUNDLE_DIR}
        PATTERN MacOS EXCLUDE)
# cqkv looks for the table in ../share/cqinputkv beside its own folder: the bundle's copy.
file(RELATIVE_PATH KV_TABLE_LINK /prefix/${CMAKE_INSTALL_DATADIR}/cqinputkv
     /prefix/${KV_INSTALL_BUNDLE}/Contents/Resources/CQInput-KV.cin)
install(CODE "
    set(link \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/cqinputkv/CQInput-KV.cin\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/cqinputkv\")
    file(CREATE_LINK ${KV_TABLE_LINK} \"\$ENV{DESTDIR}\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
")
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/resources/CQInput-KV.cin.COPYRIGHT
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cqinputkv)

# The package's maintainer scripts name the files where the package puts them.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(KV_PACKAGED_IME_ENLIST ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/ime-enlist)
set(KV_PACKAGED_BUNDLE ${CPACK_PACKAGING_INSTALL_PREFIX}/${KV_INSTALL_BUNDLE})
pkg_get_variable(KV_PACKAGED_IBUS_DATADIR ibus-1.0 pkgdatadir)
set(KV_PACKAGED_COMPONENT ${KV_PACKAGED_IBUS_DATADIR}/component/CQInputKV.xml)
foreach(script postinst postrm)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${script}.in
                   ${CMAKE_BINARY_DIR}/packaging/${script} @ONLY)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cqinputkv)
set(CPACK_PACKAGE_VENDOR "CQInputKV developers")
set(CPACK_PACKAGE_CONTACT "CQInputKV developers <developers@cqinputkv.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "table-driven input method for Traditional Chinese (IBus)")
set(CPACK_PACKAGE_DESCRIPTION
    "Type shape-root codes of one to six keys; the reading shows in roots, the candidates
ten to a page beside the caret. With a user phrase dictionary, Simplified and full-width
output, an on-screen keyboard and a settings window. Includes ime-enlist, which makes the
input method known to a user's IBus daemon and selects it, and cqkv, a command line for
looking codes up.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ibus)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_BINARY_DIR}/packaging/postinst ${CMAKE_BINARY_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# SPDX-License-Identifier: MIT
# Installing: the bundle, ime-enlist and cqkv under one prefix (/usr/local by default), and a
# Debian package of the same files (`cpack -G DEB`). The input method's descriptions for IBus and
# fcitx5 are installed as files of their own, so the package registers the input method with
# whichever framework is present and removing it unregisters it.
if(NOT TARGET kv_bundle OR NOT TARGET ime-enlist)
    return()
endif()

include(GNUInstallDirs)
# The bundle keeps its shape: the program finds its table and descriptions through its own path.
# Its executable and plug-ins live under lib/, its Resources are a link to the one copy of the
# architecture-independent files under share/cqinputkv (where cqkv looks for the table too).
set(KV_INSTALL_BUNDLE lib/cqinputkv/CQInputKV.app)
set(KV_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/cqinputkv)
set(KV_BUILT_BUNDLE ${CMAKE_BINARY_DIR}/CQInputKV.app)
# The fcitx5 addon is packaged when it is built; -DKV_PACKAGE_FCITX5=OFF leaves it out.
if(TARGET cqinputkv-fcitx5)
    option(KV_PACKAGE_FCITX5 "Install the fcitx5 addon and its descriptions" ON)
else()
    set(KV_PACKAGE_FCITX5 OFF)
endif()

install(TARGETS ime-enlist cqkv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS CQInputKV RUNTIME DESTINATION ${KV_INSTALL_BUNDLE}/Contents/MacOS)
if(KV_PACKAGE_FCITX5)
    install(TARGETS cqinputkv-fcitx5 LIBRARY DESTINATION ${KV_INSTALL_BUNDLE}/Contents/PlugIns)
endif()
install(FILES ${KV_BUILT_BUNDLE}/Contents/Info.plist DESTINATION ${KV_INSTALL_BUNDLE}/Contents)
# The licence texts are Debian's own copies where the prefix is Debian's.
install(DIRECTORY ${KV_BUILT_BUNDLE}/Contents/Resources/ DESTINATION ${KV_INSTALL_DATA}
        PATTERN "*GPL-3.txt" EXCLUDE)
# What software centres list.
set(KV_METAINFO org.cqinputkv.inputmethod.cqinputkv.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/${KV_METAINFO}
               ${CMAKE_BINARY_DIR}/packaging/${KV_METAINFO} @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KV_METAINFO}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages are made from the README's sections on the two programs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(KV_GZIP gzip REQUIRED)
set(KV_PACKAGING_OUTPUT ${CMAKE_BINARY_DIR}/packaging)
set(KV_COMPRESSED)
foreach(page ime-enlist cqkv)
    set(out ${KV_PACKAGING_OUTPUT}/${page}.1)
    add_custom_command(
        OUTPUT ${out}.gz
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/readme_man.py
                ${PROJECT_SOURCE_DIR}/README.md ${page} ${PROJECT_VERSION} ${out}
        COMMAND ${KV_GZIP} -9nf ${out}
        DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/readme_man.py
        COMMENT "Manual page ${page}(1) from README.md")
    list(APPEND KV_COMPRESSED ${out}.gz)
endforeach()
add_custom_command(
    OUTPUT ${KV_PACKAGING_OUTPUT}/changelog.gz
    COMMAND ${KV_GZIP} -9n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > changelog.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
    WORKING_DIRECTORY ${KV_PACKAGING_OUTPUT})
list(APPEND KV_COMPRESSED ${KV_PACKAGING_OUTPUT}/changelog.gz)
add_custom_target(kv_packaging_docs ALL DEPENDS ${KV_COMPRESSED})
install(FILES ${KV_PACKAGING_OUTPUT}/ime-enlist.1.gz ${KV_PACKAGING_OUTPUT}/cqkv.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${KV_PACKAGING_OUTPUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cqinputkv)

# The links, the licence texts and the frameworks' descriptions need the prefix the files are
# installed under, known only at installation.
pkg_get_variable(KV_IBUS_DATADIR ibus-1.0 pkgdatadir)
install(CODE "
    set(KV_INSTALL_BUNDLE \"${KV_INSTALL_BUNDLE}\")
    set(KV_INSTALL_DATA \"${KV_INSTALL_DATA}\")
    set(KV_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(KV_SOURCE \"${PROJECT_SOURCE_DIR}\")
    set(KV_SCRATCH \"${CMAKE_BINARY_DIR}/packaging/ibus-component\")
    set(KV_IME_ENLIST \"$<TARGET_FILE:ime-enlist>\")
    set(KV_IBUS_COMPONENTS \"${KV_IBUS_DATADIR}/component\")
    set(KV_PACKAGE_FCITX5 ${KV_PACKAGE_FCITX5})
    include(\"${CMAKE_CURRENT_LIST_DIR}/install_registration.cmake\")
")

set(CPACK_GENERATOR DEB)
# Installed with the package's own prefix, so the descriptions name the installed paths.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_NAME cqinputkv)
set(CPACK_PACKAGE_VENDOR "CQInputKV developers")
set(CPACK_PACKAGE_CONTACT "CQInputKV developers <developers@cqinputkv.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "table-driven input method for Traditional Chinese")
set(CPACK_PACKAGE_DESCRIPTION
    "Type shape-root codes of one to six keys: the reading shows in roots, the
candidates ten to a page beside the caret. With a user phrase dictionary,
Simplified and full-width output, an on-screen keyboard and a settings window.
It works with IBus and with fcitx5, registered with whichever is installed.

Includes ime-enlist, which makes the input method known to a user's IBus daemon
or fcitx5 and selects it, and cqkv, a command line for looking codes up.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Neither framework is forced on a desktop that uses the other. The fonts are the program's own
# families: Hanazono draws every character of the table (the glyph-coverage test; Noto Sans CJK
# alone leaves 44893 of 75127 as boxes), Noto Sans CJK TC and BabelStone Han the forms a reader
# of Traditional Chinese expects for the characters they have.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "ibus | fcitx5, fonts-noto-cjk, fonts-hanazono, fonts-babelstone-han")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# SPDX-License-Identifier: MIT
# Run at installation (cmake --install, and cpack's staging with CMAKE_INSTALL_PREFIX the
# package's prefix under DESTDIR): the bundle's link to its resources, the licence texts, and the
# input method's descriptions for IBus and fcitx5, which name the installed files by absolute path.
set(root "$ENV{DESTDIR}")
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(bundle "${prefix}/${KV_INSTALL_BUNDLE}")
set(data "${prefix}/${KV_INSTALL_DATA}")

function(kv_installed path)
    message(STATUS "Installing: ${root}${path}")
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} "${path}" PARENT_SCOPE)
endfunction()

# A relative link, so the tree works wherever it is unpacked.
function(kv_link link target)
    get_filename_component(folder "${link}" DIRECTORY)
    file(RELATIVE_PATH relative "${folder}" "${target}")
    file(MAKE_DIRECTORY "${root}${folder}")
    file(REMOVE_RECURSE "${root}${link}")
    file(CREATE_LINK "${relative}" "${root}${link}" SYMBOLIC)
    kv_installed("${link}")
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()

function(kv_write path text)
    file(WRITE "${root}${path}" "${text}")
    kv_installed("${path}")
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()

kv_link("${bundle}/Contents/Resources" "${data}")

foreach(text GPL-3 LGPL-3)
    if(prefix STREQUAL "/usr" AND EXISTS "/usr/share/common-licenses/${text}")
        kv_link("${data}/${text}.txt" "/usr/share/common-licenses/${text}")
    else()
        file(READ "${KV_SOURCE}/resources/${text}.txt" licence)
        kv_write("${data}/${text}.txt" "${licence}")
    endif()
endforeach()

# IBus reads only its own folder: under another prefix `sudo ime-enlist` writes it there. The
# description is the one ime-enlist writes, byte for byte, so that a user's later run finds it in
# place and restarts nothing; it is made here on the installed bundle with no daemon to reach.
string(FIND "${KV_IBUS_COMPONENTS}" "${prefix}/" under)
if(under EQUAL 0)
    # Beside the staging folder: packages made at once each have their own.
    set(scratch "${KV_SCRATCH}")
    if(NOT root STREQUAL "")
        set(scratch "${root}.ibus-component")
    endif()
    file(REMOVE_RECURSE "${scratch}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "IBUS_COMPONENT_PATH=${scratch}"
                "IBUS_ADDRESS=unix:path=${scratch}/no-daemon" "${KV_IME_ENLIST}" "${root}${bundle}"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE message)
    file(GLOB written "${scratch}/*.xml")
    if(NOT status EQUAL 3 OR NOT message MATCHES "failed: 107" OR NOT written)
        message(FATAL_ERROR "ime-enlist did not write the IBus description: ${status} ${message}")
    endif()
    get_filename_component(name "${written}" NAME)
    file(READ "${written}" description)
    if(NOT root STREQUAL "")
        string(REPLACE "${root}${bundle}" "${bundle}" description "${description}")
    endif()
    file(MAKE_DIRECTORY "${root}${KV_IBUS_COMPONENTS}")
    kv_write("${KV_IBUS_COMPONENTS}/${name}" "${description}")
    file(REMOVE_RECURSE "${scratch}")
endif()

# fcitx5 reads its descriptions from every XDG data folder, /usr/local/share included.
if(KV_PACKAGE_FCITX5)
    set(fcitx5 "${prefix}/${KV_INSTALL_DATADIR}/fcitx5")
    file(READ "${root}${data}/fcitx5/addon.conf" addon)
    string(REGEX REPLACE "\nLibrary=[^\n]*" "\nLibrary=${bundle}/Contents/PlugIns/cqinputkv-fcitx5"
                         addon "${addon}")
    file(READ "${root}${data}/fcitx5/inputmethod.conf" method)
    string(REGEX REPLACE "\nIcon=[^\n]*" "\nIcon=${bundle}/Contents/Resources/cqinputkv.svg"
                         method "${method}")
    file(MAKE_DIRECTORY "${root}${fcitx5}/addon" "${root}${fcitx5}/inputmethod")
    kv_write("${fcitx5}/addon/cqinputkv.conf" "${addon}")
    kv_write("${fcitx5}/inputmethod/cqinputkv.conf" "${method}")
endif()

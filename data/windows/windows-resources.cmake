# Windows resources of Kestrel's programs: the icons, the version information shown in
# a file's properties, and the manifest. Included by app/ and cli/ in Windows builds.
#
# The .ico files are packed at build time from the committed PNGs (the application
# icon's in data/icons, the camera file's in data/windows/icons, made by
# render-icons.sh) by icotool, package icoutils; nothing is rendered during the build.
include_guard(DIRECTORY)

find_program(KESTREL_ICOTOOL icotool REQUIRED DOC "icotool (package icoutils), packs PNGs into .ico files")

set(KESTREL_WINDOWS_DATA_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KESTREL_WINDOWS_ICON_SIZES 16 24 32 48 64 128 256)

# The copyright line is the package's (data/debian/copyright), so the two cannot differ.
file(STRINGS ${KESTREL_WINDOWS_DATA_DIR}/../debian/copyright KESTREL_COPYRIGHT_LINE
     REGEX "^Copyright: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: " "" KESTREL_COPYRIGHT_HOLDERS "${KESTREL_COPYRIGHT_LINE}")
if(NOT KESTREL_COPYRIGHT_HOLDERS)
    message(FATAL_ERROR "No \"Copyright:\" line in data/debian/copyright")
endif()
set(KESTREL_RC_COPYRIGHT "Copyright (C) ${KESTREL_COPYRIGHT_HOLDERS}. All rights reserved.")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${KESTREL_WINDOWS_DATA_DIR}/../debian/copyright)

# kestrel_windows_icon(<ico> <png of size 16> ...): packs one PNG per size of
# KESTREL_WINDOWS_ICON_SIZES into <ico>. The 256-pixel image is stored as PNG, as
# Windows' own large icons are; the smaller ones as bitmaps, which every reader takes.
function(kestrel_windows_icon ico)
    set(pngs ${ARGN})
    list(POP_BACK pngs largest)
    add_custom_command(
        OUTPUT ${ico}
        COMMAND ${KESTREL_ICOTOOL} --create --output=${ico} ${pngs} --raw=${largest}
        DEPENDS ${ARGN}
        VERBATIM)
endfunction()

# kestrel_add_windows_resources(<target> DESCRIPTION <text> [CAMERA_FILE_ICON]): gives
# <target>.exe the application icon (and with CAMERA_FILE_ICON the camera file's icon
# as its second icon, resource id 2), version information with <text> as the file's
# description, and the manifest data/windows/kestrel.manifest.in.
function(kestrel_add_windows_resources target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "CAMERA_FILE_ICON" "DESCRIPTION" "")
    if(NOT arg_DESCRIPTION OR arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "kestrel_add_windows_resources(${target} DESCRIPTION <text> [CAMERA_FILE_ICON])")
    endif()
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/windows)

    set(app_pngs)
    set(document_pngs)
    foreach(size IN LISTS KESTREL_WINDOWS_ICON_SIZES)
        list(APPEND app_pngs
             ${KESTREL_WINDOWS_DATA_DIR}/../icons/${size}x${size}/org.kestreleditor.kestrel.png)
        list(APPEND document_pngs ${KESTREL_WINDOWS_DATA_DIR}/icons/camera-file-${size}.png)
    endforeach()
    kestrel_windows_icon(${dir}/kestrel.ico ${app_pngs})
    set(icons ${dir}/kestrel.ico)
    set(KESTREL_RC_ICONS "1 ICON \"${dir}/kestrel.ico\"")
    if(arg_CAMERA_FILE_ICON)
        kestrel_windows_icon(${dir}/camera-file.ico ${document_pngs})
        list(APPEND icons ${dir}/camera-file.ico)
        string(APPEND KESTREL_RC_ICONS "\n2 ICON \"${dir}/camera-file.ico\"")
    endif()

    set(KESTREL_RC_NAME ${target})
    set(KESTREL_RC_DESCRIPTION "${arg_DESCRIPTION}")
    set(version ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} 0)
    list(JOIN version "," KESTREL_RC_VERSION_COMMAS)
    list(JOIN version "." KESTREL_RC_VERSION_DOTTED)
    set(KESTREL_RC_MANIFEST ${dir}/${target}.exe.manifest)
    configure_file(${KESTREL_WINDOWS_DATA_DIR}/kestrel.manifest.in ${KESTREL_RC_MANIFEST} @ONLY)
    configure_file(${KESTREL_WINDOWS_DATA_DIR}/kestrel.rc.in ${dir}/${target}.rc @ONLY)

    target_sources(${target} PRIVATE ${dir}/${target}.rc ${icons})
    # windres reads the icons and the manifest: rebuild the resources when they change.
    set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS
                                "${icons};${KESTREL_RC_MANIFEST}")
endfunction()

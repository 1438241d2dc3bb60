# Stages the resource tree next to the binaries: <build>/Resources.
#   <build>/Resources/res  hand-written data from Resources/res, the generated art and sound
#                          (tools/assetgen adds its target to kestrova_resources) and the font;
#   <build>/Resources/src  stays empty, so nothing can shadow res/.
# Nothing else is written at the root, which the engine searches first.
set(KESTROVA_RESOURCE_DIR ${CMAKE_BINARY_DIR}/Resources)
file(MAKE_DIRECTORY ${KESTROVA_RESOURCE_DIR}/res ${KESTROVA_RESOURCE_DIR}/src)

file(GLOB_RECURSE KESTROVA_RESOURCE_FILES CONFIGURE_DEPENDS
    RELATIVE ${CMAKE_SOURCE_DIR}/Resources/res ${CMAKE_SOURCE_DIR}/Resources/res/*)
set(_staged "")
foreach(rel IN LISTS KESTROVA_RESOURCE_FILES)
    add_custom_command(OUTPUT ${KESTROVA_RESOURCE_DIR}/res/${rel}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${CMAKE_SOURCE_DIR}/Resources/res/${rel} ${KESTROVA_RESOURCE_DIR}/res/${rel}
        DEPENDS ${CMAKE_SOURCE_DIR}/Resources/res/${rel})
    list(APPEND _staged ${KESTROVA_RESOURCE_DIR}/res/${rel})
endforeach()

# The UI font: Debian's DejaVu Sans (fonts-dejavu-core), copied unmodified under the name the
# UI descriptions ask for. The generator draws its own lettering with the same family.
find_file(KESTROVA_UI_FONT DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH REQUIRED)
get_filename_component(KESTROVA_FONT_DIR ${KESTROVA_UI_FONT} DIRECTORY)
add_custom_command(OUTPUT ${KESTROVA_RESOURCE_DIR}/res/fonts/Arial.ttf
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTROVA_UI_FONT} ${KESTROVA_RESOURCE_DIR}/res/fonts/Arial.ttf
    DEPENDS ${KESTROVA_UI_FONT})
list(APPEND _staged ${KESTROVA_RESOURCE_DIR}/res/fonts/Arial.ttf)

add_custom_target(kestrova_resources ALL DEPENDS ${_staged})

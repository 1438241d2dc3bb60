# Stages the hand-written resource tree next to the binaries: <build>/Resources.
set(KESTROVA_RESOURCE_DIR ${CMAKE_BINARY_DIR}/Resources)
file(GLOB_RECURSE KESTROVA_RESOURCE_FILES CONFIGURE_DEPENDS
    RELATIVE ${CMAKE_SOURCE_DIR}/Resources ${CMAKE_SOURCE_DIR}/Resources/*)
set(_staged "")
foreach(rel IN LISTS KESTROVA_RESOURCE_FILES)
    add_custom_command(OUTPUT ${KESTROVA_RESOURCE_DIR}/${rel}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${CMAKE_SOURCE_DIR}/Resources/${rel} ${KESTROVA_RESOURCE_DIR}/${rel}
        DEPENDS ${CMAKE_SOURCE_DIR}/Resources/${rel})
    list(APPEND _staged ${KESTROVA_RESOURCE_DIR}/${rel})
endforeach()
add_custom_target(kestrova_resources ALL DEPENDS ${_staged})

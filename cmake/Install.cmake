# Installing the game as a Linux desktop game (cmake --install <build> --prefix P):
#   P/bin/kestrova                                    the game (app/CMakeLists.txt)
#   P/share/kestrova/Resources                        the staged resource tree, as real files
#   P/share/applications/kestrova.desktop             the menu entry
#   P/share/icons/hicolor/<n>x<n>/apps/kestrova.png   its icon, drawn by tools/assetgen
#   P/share/metainfo/org.kestrova.kestrova.metainfo.xml
#   P/share/man/man6/kestrova.6.gz                    the manual page
#   P/share/doc/kestrova/copyright                    the licences, in Debian's machine-readable form
# The Debian package (cmake/Packaging.cmake) takes the same files with the binary in /usr/games,
# where Debian keeps games, and adds its signed changelog. The engine looks for
# ../share/kestrova/Resources beside the binary, which holds from bin/ and games/ alike.
# Nothing of the tests, benchmarks, sandbox or generator is installed.
set(KESTROVA_INSTALL_BINDIR bin)
set(KESTROVA_INSTALL_GAMESDIR games)
set(KESTROVA_INSTALL_DATADIR share)
# Everything but the binary is in CMake's default component, "Unspecified". The binary is installed
# twice over, each in a component of its own: kestrova_bin (bin/) in a plain install, and the
# package's (games/), left out of a plain install.
set(KESTROVA_PACKAGE_BINARY_COMPONENT kestrova_games)

# tools/assetgen draws the icons here, in an icon theme's layout.
set(KESTROVA_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
file(MAKE_DIRECTORY ${KESTROVA_ICON_DIR})

# The staged tree holds copies and generated files only (no links into the source tree), so the
# installed tree is a plain copy of it.
install(DIRECTORY ${KESTROVA_RESOURCE_DIR}/
        DESTINATION ${KESTROVA_INSTALL_DATADIR}/kestrova/Resources)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/kestrova.desktop
        DESTINATION ${KESTROVA_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/org.kestrova.kestrova.metainfo.xml
        DESTINATION ${KESTROVA_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${KESTROVA_ICON_DIR}/
        DESTINATION ${KESTROVA_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${KESTROVA_INSTALL_DATADIR}/doc/kestrova)

# Manual pages go compressed, as Debian wants them: gzip -9n keeps no name or time stamp, so the
# same page gives the same bytes.
find_program(KESTROVA_GZIP gzip REQUIRED)
set(_manual_page ${CMAKE_BINARY_DIR}/packaging/kestrova.6.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${_manual_page}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/linux/kestrova.6 ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${KESTROVA_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/kestrova.6
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/linux/kestrova.6
    VERBATIM)
add_custom_target(kestrova_manual_page ALL DEPENDS ${_manual_page})
install(FILES ${_manual_page} DESTINATION ${KESTROVA_INSTALL_DATADIR}/man/man6)

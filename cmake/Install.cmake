# Installing the game as a Linux desktop game (cmake --install <build> --prefix P):
#   P/bin/kestrova                                    the game (app/CMakeLists.txt)
#   P/share/kestrova/Resources                        the staged resource tree, as real files
#   P/share/applications/kestrova.desktop             the menu entry
#   P/share/icons/hicolor/<n>x<n>/apps/kestrova.png   its icon, drawn by tools/assetgen
#   P/share/metainfo/org.kestrova.kestrova.metainfo.xml
# The engine looks for ../share/kestrova/Resources beside the binary, so the two folders are fixed
# relative to each other. Nothing of the tests, benchmarks, sandbox or generator is installed.
set(KESTROVA_INSTALL_BINDIR bin)
set(KESTROVA_INSTALL_DATADIR share)

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

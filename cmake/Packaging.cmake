# A Debian package of the installed game: `cpack -G DEB` in the build folder gives
# kestrova_<version>_<arch>.deb, which installs with `apt install ./kestrova_*.deb`.
# Its dependencies are read off the shared libraries the binary links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR "Kestrova")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual game of restoring damaged paintings")
set(CPACK_PACKAGE_DESCRIPTION
    "As a museum restorer the player brings damaged paintings back to life: reagent drops find the\n"
    "hidden damage, and the eraser, knife and brush remove dirt, blots and scrapes. Restored\n"
    "paintings pay for the museum's collections and open new countries on the map.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME kestrova)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrova developers <kestrova@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

set(CPACK_GENERATOR DEB)
include(CPack)

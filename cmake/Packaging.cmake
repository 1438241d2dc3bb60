# A Debian package of the installed game: `cpack -G DEB` in the build folder gives
# kestrova_<version>_<arch>.deb, which installs with `apt install ./kestrova_*.deb`.
# Its dependencies are read off the shared libraries the binary links (dpkg-shlibdeps).
#
# A package names its maintainer, and its changelog is signed by the same person: whoever builds
# one names a real address, at configure time (-DKESTROVA_PACKAGE_CONTACT="Name <address>") or
# when packaging (cpack -D CPACK_PACKAGE_CONTACT="Name <address>"). Without one cpack refuses
# (cmake/PackageChecks.cmake): an empty Maintainer field would make dpkg warn on every later run.
set(KESTROVA_PACKAGE_CONTACT "" CACHE STRING
    "The Debian package's maintainer, \"Name <address>\"; required by cpack -G DEB")

set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR "Kestrova")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KESTROVA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual game of restoring damaged paintings")
# Debian shows the extended description as it stands: lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "As a museum's restorer the player brings damaged paintings back to life:\n"
    "drops of reagent find the hidden damage, and the eraser, knife and brush\n"
    "remove dirt, blots and scrapes. Restored paintings pay for the museum's\n"
    "collections and open new countries on the map.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# The package takes the shared files and the binary in /usr/games (cmake/Install.cmake).
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};${KESTROVA_PACKAGE_BINARY_COMPONENT};/")

set(CPACK_DEBIAN_PACKAGE_NAME kestrova)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

# Read by cpack itself: the checks before anything is staged, and the signed changelog
# written into the staged tree.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageChecks.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageChangelog.cmake)
set(CPACK_KESTROVA_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/debian/changelog)
set(CPACK_KESTROVA_DOCDIR ${KESTROVA_INSTALL_DATADIR}/doc/kestrova)
set(CPACK_KESTROVA_GZIP ${KESTROVA_GZIP})

set(CPACK_GENERATOR DEB)
include(CPack)

# Read by cpack before it stages anything (CPACK_PROJECT_CONFIG_FILE): stops at once when the
# Debian package could not be one a distribution takes.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()

# A maintainer with a real address, who also signs the changelog (cmake/PackageChangelog.cmake).
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
endif()
if(CPACK_DEBIAN_PACKAGE_MAINTAINER STREQUAL "")
    message(FATAL_ERROR
        "The package has no maintainer. Name yourself with a real address when configuring, "
        "-DKESTROVA_PACKAGE_CONTACT=\"Your Name <you@example.org>\", or when packaging, "
        "cpack -G DEB -D CPACK_PACKAGE_CONTACT=\"Your Name <you@example.org>\".")
endif()
# One name and one address whose host has a dot in it (not "localhost"), as Debian expects.
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER MATCHES
       "^[^<>@,\"]*[^<>@,\" ] <[^<>@ ]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+>$")
    message(FATAL_ERROR
        "The package's maintainer \"${CPACK_DEBIAN_PACKAGE_MAINTAINER}\" is not \"Name <address>\" "
        "with a real address.")
endif()

# A changelog whose newest entry is this version.
file(READ "${CPACK_KESTROVA_CHANGELOG}" changelog LIMIT 256)
string(REGEX MATCH "^[^\n]*" newest "${changelog}")
if(NOT newest MATCHES "^kestrova \\(([^)]+)\\) " OR NOT CMAKE_MATCH_1 STREQUAL CPACK_PACKAGE_VERSION)
    message(FATAL_ERROR
        "${CPACK_KESTROVA_CHANGELOG} starts with \"${newest}\", but the package is version "
        "${CPACK_PACKAGE_VERSION}: add an entry for it")
endif()

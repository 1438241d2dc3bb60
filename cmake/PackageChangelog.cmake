# Run by cpack on the staged tree before it builds the package (CPACK_PRE_BUILD_SCRIPTS): writes
# the Debian changelog, usr/share/doc/kestrova/changelog.gz, from packaging/debian/changelog with
# every entry signed by the package's maintainer (both checked in cmake/PackageChecks.cmake), and
# compressed the way Debian wants it (gzip -9n: no name, no time stamp).
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
file(READ "${CPACK_KESTROVA_CHANGELOG}" changelog)
string(REPLACE "@KESTROVA_PACKAGER@" "${CPACK_DEBIAN_PACKAGE_MAINTAINER}" changelog "${changelog}")

set(docdir "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_KESTROVA_DOCDIR}")
file(MAKE_DIRECTORY "${docdir}")
file(WRITE "${docdir}/changelog" "${changelog}")
execute_process(COMMAND "${CPACK_KESTROVA_GZIP}" -9nf "${docdir}/changelog" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not compress ${docdir}/changelog")
endif()
file(CHMOD "${docdir}/changelog.gz" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# `cpack -G DEB` in a build folder makes sorrel_<version>_<arch>.deb of the tree cmake/install.cmake
# describes (scripts/package.sh does it in build-package, without the tests). Its dependencies
# are the Debian packages of the libraries the programs load (found by dpkg-shlibdeps), the Qt
# platform plugins that draw the windows, the Chinese font and the programs the help page and
# the data folder's group need. The SQLCipher runtime (libsqlcipher0) comes with the libraries.
set(CPACK_PACKAGE_NAME sorrel)
set(CPACK_PACKAGE_VENDOR "Sorrel")
set(CPACK_PACKAGE_CONTACT "Sorrel maintainers <sorrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Venue management: front desk Sorrel_W and back office Sorrel_S")
set(CPACK_PACKAGE_DESCRIPTION
    "Runs a restaurant, karaoke or tea house: the front desk seats parties, takes orders, bills and\n settles; the back office keeps the menu, tables, staff, members, credit guests and stock.\n Both share one encrypted database file or a PostgreSQL server.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, passwd")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/postinst
                                       ${CMAKE_SOURCE_DIR}/cmake/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_GENERATOR DEB)
include(CPack)

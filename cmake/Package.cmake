# The Debian package of everything cmake/Install.cmake puts in place:
#     cmake --build build --target package   (or: cd build && cpack)
# gives build/rtnmod08_<version>_<arch>.deb, installed with apt-get install ./<file>.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rtnmod08)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shop purchase-return module for back-office host applications")
set(CPACK_PACKAGE_DESCRIPTION
    "librtnmod08 records the goods a shop sends back out of its stock: a register, an editor and an item window, with quantities checked against the stock ledgers. It ships with its headers, a CMake package and a pkg-config file for host applications, and shophost, a small host for demos and checks.")
set(CPACK_PACKAGE_CONTACT "Shop back-office developers <backoffice@example.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# The Qt and SQLite libraries are found from what the binaries link; the database drivers
# are plugins that Qt loads by name, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
# Building a host against the headers needs Qt's own headers.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-base-dev")
include(CPack)

# What `cmake --install` (and the Debian package) puts in place for a host application:
# the shared module with its soname in the library folder, the public headers under
# include/rtnmod08, a CMake package (find_package(rtnmod08) gives rtnmod08::rtnmod08),
# a pkg-config file, the module's shipped files in a folder of their own beside the
# library, the API reference, and shophost with its menu entry.
include(CMakePackageConfigHelpers)

set(RTNMOD08_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rtnmod08)

install(TARGETS rtnmod08 EXPORT rtnmod08Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT rtnmod08Targets NAMESPACE rtnmod08:: DESTINATION ${RTNMOD08_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/rtnmod08Config.cmake.in
                              ${PROJECT_BINARY_DIR}/rtnmod08Config.cmake
                              INSTALL_DESTINATION ${RTNMOD08_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/rtnmod08ConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/rtnmod08Config.cmake ${PROJECT_BINARY_DIR}/rtnmod08ConfigVersion.cmake
        DESTINATION ${RTNMOD08_CMAKE_DIR})

# The pkg-config file finds its prefix from where it lies, so that one file serves
# /usr (the package), /usr/local and any prefix given to cmake --install.
file(RELATIVE_PATH RTNMOD08_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/rtnmod08.pc.in ${PROJECT_BINARY_DIR}/rtnmod08.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/rtnmod08.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The module reads ShopSetting.txt and its report file from rtnmod08/ beside the
# library; resources/ holds them as they ship.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${CMAKE_INSTALL_LIBDIR}/rtnmod08)

# The API reference (the docs target), when this build makes it.
if(TARGET docs)
    install(DIRECTORY ${RTNMOD08_DOCS_DIR}/html/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/rtnmod08/html)
endif()

# shophost finds the library it was installed with, under any prefix; a clerk starts
# it from the desktop's menu.
set_target_properties(shophost PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS shophost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/app/shophost/share/shophost.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/shophost/share/shophost.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)

# What `cmake --install` (and the Debian package) puts in place for a host application:
# the shared module with its soname, the public headers under include/rtnmod08, a CMake
# package (find_package(rtnmod08) gives rtnmod08::rtnmod08), a pkg-config file, the
# module's shipped files beside the library, and shophost.
include(CMakePackageConfigHelpers)

set(RTNMOD08_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rtnmod08)

install(TARGETS rtnmod08 EXPORT rtnmod08Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/rtnmod08 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
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

# The module reads ShopSetting.txt and its report file from the folder it was loaded
# from; resources/ holds them as they ship, laid out as they sit beside the library.
if(EXISTS ${PROJECT_SOURCE_DIR}/resources)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

# shophost finds the library it was installed with, under any prefix.
set_target_properties(shophost PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS shophost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The API reference of the installed headers: `cmake --build build --target docs` gives
# build/docs/html/index.html, which the package ships under /usr/share/doc/rtnmod08/html.
# It is part of every build, so that the package always has it; a machine without
# doxygen builds without it.
find_package(Doxygen)
if(NOT DOXYGEN_FOUND)
    message(STATUS "doxygen not found: no API reference (tools/install-deps installs it)")
    return()
endif()

set(RTNMOD08_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
set(DOXYGEN_PROJECT_NAME rtnmod08)
set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
set(DOXYGEN_PROJECT_BRIEF "Shop purchase-return module: the API of a host application")
set(DOXYGEN_OUTPUT_DIRECTORY ${RTNMOD08_DOCS_DIR})
set(DOXYGEN_GENERATE_LATEX NO)
set(DOXYGEN_HAVE_DOT NO)
set(DOXYGEN_TIMESTAMP NO)
set(DOXYGEN_EXTRACT_ALL YES)
set(DOXYGEN_EXTRACT_PRIVATE NO)
set(DOXYGEN_SORT_MEMBER_DOCS NO)
set(DOXYGEN_QUIET YES)
set(DOXYGEN_WARN_IF_UNDOCUMENTED NO)
# Includes are shown as a host writes them: #include <rtnmod08/Connection.h>.
set(DOXYGEN_FULL_PATH_NAMES YES)
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/docs)
set(DOXYGEN_STRIP_FROM_INC_PATH ${PROJECT_SOURCE_DIR}/include)
set(DOXYGEN_PREDEFINED "RTNMOD08_EXPORT=")
set(DOXYGEN_EXCLUDE_SYMBOLS "ConnectionInternals" "Private")
set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/docs/api.md)
# doxygen_add_docs writes the Doxyfile; its own target would run doxygen at every build,
# so `docs` runs it only when a header or the front page changed.
file(GLOB RTNMOD08_DOCUMENTED CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/rtnmod08/*.h)
doxygen_add_docs(docs_doxyfile ${PROJECT_SOURCE_DIR}/docs/api.md ${PROJECT_SOURCE_DIR}/include/rtnmod08)
add_custom_command(OUTPUT ${RTNMOD08_DOCS_DIR}/html/index.html
                   COMMAND Doxygen::doxygen ${CMAKE_CURRENT_BINARY_DIR}/Doxyfile.docs_doxyfile
                   DEPENDS ${RTNMOD08_DOCUMENTED} ${PROJECT_SOURCE_DIR}/docs/api.md
                           ${CMAKE_CURRENT_BINARY_DIR}/Doxyfile.docs_doxyfile
                   WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                   COMMENT "The API reference of the installed headers")
add_custom_target(docs ALL DEPENDS ${RTNMOD08_DOCS_DIR}/html/index.html)

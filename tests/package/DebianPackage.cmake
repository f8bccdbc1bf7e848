# The Debian package as a machine gets it: made with cpack from the build, it holds the
# library in the multiarch folder, the module's shipped files in their own folder beside
# it, the headers, the API reference, shophost with its menu entry and icon.
#     cmake -DBUILD_DIR=... -DWORK_DIR=... -P DebianPackage.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB deb ${WORK_DIR}/rtnmod08_*.deb)
if(NOT rc EQUAL 0 OR NOT deb)
    message(FATAL_ERROR "cpack made no package (${rc}):\n${out}\n${err}")
endif()
execute_process(COMMAND dpkg -c ${deb} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-architecture -qDEB_HOST_MULTIARCH OUTPUT_VARIABLE multiarch OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(path IN ITEMS usr/lib/${multiarch}/librtnmod08.so.2 usr/lib/${multiarch}/rtnmod08/ShopSetting.txt
                      usr/lib/${multiarch}/rtnmod08/reports/rptShopPurchaseReturn.xml
                      usr/include/rtnmod08/rtnmod08.h usr/share/doc/rtnmod08/html/index.html
                      usr/share/applications/shophost.desktop usr/share/icons/hicolor/scalable/apps/shophost.svg
                      usr/bin/shophost)
    string(FIND "${listing}" "./${path}" at)
    if(at LESS 0)
        message(FATAL_ERROR "${deb} lacks /${path}:\n${listing}")
    endif()
endforeach()
message(STATUS "${deb}:\n${listing}")

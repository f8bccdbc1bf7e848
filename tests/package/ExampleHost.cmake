# The module as a host gets it: installs the build into a fresh prefix, checks what lies
# there, builds examples/embed_host against that prefix alone (CMake package, and once
# more through pkg-config, which also compiles each installed header on its own), makes a demo database with the installed shophost and runs the
# example on it offscreen: the register must open and close.
#     cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -P ExampleHost.cmake
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        string(REPLACE ";" " " line "${ARGN}")
        message(FATAL_ERROR "${line}\nfailed (${rc}):\n${out}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(f IN ITEMS bin/shophost
                   include/rtnmod08/rtnmod08.h include/rtnmod08/clsShopWriteoff.h include/rtnmod08/Connection.h
                   include/rtnmod08/ComponentRegistry.h include/rtnmod08/HostComponents.h include/rtnmod08/Database.h
                   share/applications/shophost.desktop share/icons/hicolor/scalable/apps/shophost.svg
                   share/doc/rtnmod08/html/index.html share/doc/rtnmod08/html/classshop_1_1clsShopWriteoff.html)
    if(NOT EXISTS ${prefix}/${f})
        message(FATAL_ERROR "the install lacks ${f}")
    endif()
endforeach()
file(GLOB_RECURSE found RELATIVE ${prefix} ${prefix}/*)
foreach(pattern IN ITEMS "/librtnmod08\\.so$" "/librtnmod08\\.so\\.[0-9]+$" "/librtnmod08\\.so\\.[0-9]+\\.[0-9]+\\.[0-9]+$"
                         "/cmake/rtnmod08/rtnmod08Config\\.cmake$" "/pkgconfig/rtnmod08\\.pc$")
    set(hits ${found})
    list(FILTER hits INCLUDE REGEX "${pattern}")
    if(NOT hits)
        message(FATAL_ERROR "the install lacks a file matching ${pattern}; it holds:\n${found}")
    endif()
endforeach()
# The library lies in the multiarch folder, the shipped files in a folder of their own
# beside it, as they do in the build.
file(GLOB_RECURSE library ${prefix}/*/librtnmod08.so)
get_filename_component(library_dir "${library}" DIRECTORY)
execute_process(COMMAND c++ -print-multiarch OUTPUT_VARIABLE multiarch OUTPUT_STRIP_TRAILING_WHITESPACE)
if(multiarch AND NOT library_dir STREQUAL "${prefix}/lib/${multiarch}")
    message(FATAL_ERROR "the library lies in ${library_dir}, not in lib/${multiarch}")
endif()
file(GLOB_RECURSE shipped RELATIVE ${SOURCE_DIR}/resources ${SOURCE_DIR}/resources/*)
foreach(f IN LISTS shipped)
    if(NOT EXISTS ${library_dir}/rtnmod08/${f})
        message(FATAL_ERROR "${f} is not installed in ${library_dir}/rtnmod08")
    endif()
endforeach()

set(launcher "")
find_program(CCACHE ccache)
if(CCACHE)
    set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE})
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/embed_host -B ${WORK_DIR}/host -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} ${launcher})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/host)

# The same host through pkg-config, as a Makefile would build it.
set(ENV{PKG_CONFIG_PATH} ${library_dir}/pkgconfig)
run(pkg-config --cflags --libs rtnmod08)
string(STRIP "${out}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
# Each installed header stands on its own: a host may include any one of them first.
file(GLOB headers RELATIVE ${prefix}/include ${prefix}/include/rtnmod08/*.h)
foreach(h IN LISTS headers)
    file(WRITE ${WORK_DIR}/header.cpp "#include <${h}>\n")
    run(c++ -std=c++20 -fPIC -fsyntax-only -Wall -Wextra -Werror ${WORK_DIR}/header.cpp ${flags})
endforeach()
run(c++ -std=c++20 -fPIC ${SOURCE_DIR}/examples/embed_host/main.cpp ${flags} -Wl,-rpath,${library_dir}
    -o ${WORK_DIR}/embed_host_pc)

set(database ${WORK_DIR}/shop.db)
run(${prefix}/bin/shophost --check --database ${database})
if(NOT out MATCHES "Created the demo data")
    message(FATAL_ERROR "the installed shophost made no demo database:\n${out}")
endif()

set(ENV{QT_QPA_PLATFORM} offscreen)
foreach(host IN ITEMS ${WORK_DIR}/host/embed_host ${WORK_DIR}/embed_host_pc)
    execute_process(COMMAND ${host} ${database} --close TIMEOUT 60
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    message(STATUS "${host}:\n${out}${err}")
    if(NOT rc EQUAL 0 OR NOT out MATCHES "host colours FrmMaster" OR NOT out MATCHES "register opened: Shop Purchase Return"
       OR NOT out MATCHES "register closed")
        message(FATAL_ERROR "${host} did not open and close the register (${rc})")
    endif()
endforeach()

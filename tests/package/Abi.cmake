# The binary interface of the built librtnmod08.so against the one kept in the
# repository (abi/librtnmod08.abi, made by tools/abi-dump from a released build). Added
# calls pass; a change a host's binary would break on (a public class that grows, a
# call removed or changed) fails, unless the soname's major version was raised in the
# same change, which tells every host to rebuild.
#     cmake -DLIBRARY=... -DDUMP=... -DSUPPRESSIONS=... -P Abi.cmake
cmake_minimum_required(VERSION 3.25)

find_program(ABIDIFF abidiff)
if(NOT ABIDIFF)
    message(FATAL_ERROR "abidiff is missing (Debian's abigail-tools; tools/install-deps installs it)")
endif()

function(soname_major text out)
    if(NOT text MATCHES "librtnmod08\\.so\\.([0-9]+)")
        message(FATAL_ERROR "no soname of librtnmod08 in: ${text}")
    endif()
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

execute_process(COMMAND readelf -d ${LIBRARY} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "readelf -d ${LIBRARY} failed")
endif()
string(REGEX MATCH "Library soname: \\[[^]]*\\]" built_soname "${dynamic}")
soname_major("${built_soname}" built)
file(READ ${DUMP} kept_text LIMIT 4096)
string(REGEX MATCH "soname='[^']*'" kept_soname "${kept_text}")
soname_major("${kept_soname}" kept)

if(built GREATER kept)
    message(STATUS "The soname's major was raised (${kept} to ${built}): every host rebuilds, and "
                   "abi/librtnmod08.abi is to be made anew with tools/abi-dump.")
    return()
elseif(built LESS kept)
    message(FATAL_ERROR "the built library (major ${built}) is older than the kept interface (major ${kept})")
endif()

# Calls added since pass; the classes behind the private pointers change freely
# (abi/private.abignore).
execute_process(COMMAND ${ABIDIFF} --exported-interfaces-only --no-added-syms --suppressions ${SUPPRESSIONS}
                        --no-show-locs ${DUMP} ${LIBRARY}
                RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE err)
message(STATUS "abidiff: ${rc}\n${report}${err}")
# abidiff's status is a set of bits: 1 an error of its own, 2 a usage fault, 4 a change
# of the interface (a public class's size or members, a call's types), 8 a call removed.
# Every one of them breaks a host's binary, or says nothing was compared.
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "librtnmod08.so.${built} is not compatible with the interface kept in ${DUMP} "
                        "(abidiff status ${rc}); raise the soname's major version (project VERSION) "
                        "or keep the interface as it was.")
endif()
message(STATUS "librtnmod08.so.${built} keeps the interface of ${DUMP}")

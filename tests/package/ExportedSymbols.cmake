# librtnmod08.so exports what its installed headers declare and nothing of the wings
# inside it: every dynamic symbol it defines names one of the public classes, their C
# factory, or a standard template made over a public class.
#     cmake -DLIBRARY=... -P ExportedSymbols.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND nm -D --defined-only --demangle ${LIBRARY}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed: ${err}")
endif()
set(public "shop::(clsShopWriteoff|Connection|Recordset|ModuleError|ComponentRegistry|schema|demo|clsCommonDB|clsCommonGen|ErrorDetails|clsFormcolor|clsUserAuditing|clsMasterGridSetting|clsFetch)([^A-Za-z0-9_]|$)")
string(REPLACE "\n" ";" lines "${out}")
set(count 0)
set(strays "")
foreach(line IN LISTS lines)
    # A local entry (a lower-case kind) is the table's own; no host can bind to it.
    if(line STREQUAL "" OR line MATCHES "^[0-9a-f]* [a-z] ")
        continue()
    endif()
    math(EXPR count "${count} + 1")
    if(line MATCHES " rtnmod08_(create|destroy)_clsShopWriteoff$" OR line MATCHES "${public}")
        continue()
    endif()
    list(APPEND strays "${line}")
endforeach()
if(strays)
    string(REPLACE ";" "\n  " text "${strays}")
    message(FATAL_ERROR "librtnmod08.so exports what no public header declares:\n  ${text}")
endif()
if(count LESS 20)
    message(FATAL_ERROR "librtnmod08.so exports only ${count} symbols; the public classes are missing")
endif()
# A host catches the library's errors and implements its interfaces: their type
# information is the library's, one copy in the process.
foreach(type IN ITEMS ModuleError clsFormcolor ErrorDetails)
    if(NOT out MATCHES "typeinfo for shop::${type}\n")
        message(FATAL_ERROR "librtnmod08.so does not export the type information of shop::${type}")
    endif()
endforeach()
message(STATUS "${count} exported symbols, all of the public interface")

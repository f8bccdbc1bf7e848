# The module is a house of wings: each source folder is one library with a level, and a
# library may link only libraries below its own level. shop_folder_library records the
# level; shop_check_layers (called once, after every target exists) reads the link lists
# of all of them and stops the configure when one points up or sideways at its own level.

define_property(TARGET PROPERTY SHOP_LAYER
    BRIEF_DOCS "Level of a module folder in the house of wings"
    FULL_DOCS "Higher levels may link lower ones, never the reverse.")
set_property(GLOBAL PROPERTY SHOP_LAYER_TARGETS "")

# shop_folder_library(<name> <dir> LEVEL <n> [LINKS <targets...>])
function(shop_folder_library name dir)
    cmake_parse_arguments(ARG "" "LEVEL" "LINKS" ${ARGN})
    if(NOT DEFINED ARG_LEVEL)
        message(FATAL_ERROR "shop_folder_library(${name}): LEVEL is required")
    endif()
    file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui)
    if(srcs)
        add_library(${name} STATIC ${srcs})
        # A window's header includes its generated form, so its users see the form too.
        target_include_directories(${name} PUBLIC ${SHOP_SOURCE_ROOT}
                                   $<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/include>)
        target_link_libraries(${name} PUBLIC project_warnings ${ARG_LINKS})
    else()
        # A folder whose work has not started yet.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${SHOP_SOURCE_ROOT})
        target_link_libraries(${name} INTERFACE project_warnings ${ARG_LINKS})
    endif()
    shop_set_layer(${name} ${ARG_LEVEL})
endfunction()

function(shop_set_layer name level)
    set_property(TARGET ${name} PROPERTY SHOP_LAYER ${level})
    set_property(GLOBAL APPEND PROPERTY SHOP_LAYER_TARGETS ${name})
endfunction()

function(shop_check_layers)
    get_property(targets GLOBAL PROPERTY SHOP_LAYER_TARGETS)
    set(faults "")
    foreach(t IN LISTS targets)
        get_target_property(level ${t} SHOP_LAYER)
        get_target_property(type ${t} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(links ${t} INTERFACE_LINK_LIBRARIES)
        else()
            get_target_property(links ${t} LINK_LIBRARIES)
            get_target_property(ilinks ${t} INTERFACE_LINK_LIBRARIES)
            list(APPEND links ${ilinks})
        endif()
        foreach(l IN LISTS links)
            if(TARGET ${l})
                get_target_property(other ${l} SHOP_LAYER)
                if(other AND NOT other LESS level)
                    list(APPEND faults "${t} (level ${level}) links ${l} (level ${other})")
                endif()
            endif()
        endforeach()
    endforeach()
    if(faults)
        list(REMOVE_DUPLICATES faults)
        string(REPLACE ";" "\n  " text "${faults}")
        message(FATAL_ERROR "A library links one at or above its own level:\n  ${text}")
    endif()
endfunction()

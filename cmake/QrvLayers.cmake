# Makes the layer libraries from the table in layers.txt.
#
# Every core or platform folder that has sources becomes a static library,
# qrv_<folder>, that links the layers the table lets it use (those that have
# a library yet); a folder without a .cpp makes no target. qrv_core is an
# INTERFACE target that links every core layer.
#
# Each library also gets a link check, qrv_linkcheck_<folder>: a program
# that links the library's whole archive with only the layers below it, so
# a call from a layer into one above it fails the normal build.
function(qrv_add_layers table)
    file(STRINGS ${table} rows REGEX "^[a-z]")
    set(core_layers)
    foreach(row IN LISTS rows)
        string(STRIP "${row}" row)
        string(REGEX REPLACE "[ \t]+" ";" fields "${row}")
        list(POP_FRONT fields folder side)
        if(side STREQUAL "shell")
            continue()
        endif()
        file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
        if(NOT sources)
            continue()
        endif()
        set(layer qrv_${folder})
        add_library(${layer} STATIC ${sources})
        target_include_directories(${layer} PUBLIC ${CMAKE_SOURCE_DIR})
        foreach(lower IN LISTS fields)
            if(TARGET qrv_${lower})
                target_link_libraries(${layer} PUBLIC qrv_${lower})
            endif()
        endforeach()

        add_executable(qrv_linkcheck_${folder} ${CMAKE_SOURCE_DIR}/cmake/LinkCheck.cpp)
        target_link_libraries(qrv_linkcheck_${folder} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${layer}>")

        if(side STREQUAL "core")
            list(APPEND core_layers ${layer})
        endif()
    endforeach()
    add_library(qrv_core INTERFACE)
    target_link_libraries(qrv_core INTERFACE ${core_layers})
endfunction()

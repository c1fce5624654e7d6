# The program is built as a stack of layers, one static library each. A layer
# links only the layers named in its LINKS (and what they link), and its
# include path holds only the headers of those layers: an #include of a
# header from a layer above, or from a layer beside it that it does not link,
# fails to compile.
#
# Each layer's headers are published as links under
# ${CMAKE_BINARY_DIR}/layers/<layer>/<folder>/<header>, so that one source
# folder may be split between two layers (the platform is).
#
# zelkova_layer(<layer>
#               DIRS <folder>...         folders under src/ whose files belong here
#               [EXCLUDE <file>...]      files of those folders that belong elsewhere
#               [FILES <file>...]        single files (relative to src/)
#               [LINKS <layer>...]       the layers below that this one uses
#               [EXTERNAL <target>...])  outside libraries

set(ZELKOVA_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

function(zelkova_layer layer)
    cmake_parse_arguments(L "" "" "DIRS;EXCLUDE;FILES;LINKS;EXTERNAL" ${ARGN})
    set(sources "")
    foreach(dir ${L_DIRS})
        file(GLOB found CONFIGURE_DEPENDS ${ZELKOVA_SOURCE_ROOT}/${dir}/*.cpp ${ZELKOVA_SOURCE_ROOT}/${dir}/*.h)
        list(APPEND sources ${found})
    endforeach()
    foreach(f ${L_FILES})
        list(APPEND sources ${ZELKOVA_SOURCE_ROOT}/${f})
    endforeach()
    foreach(f ${L_EXCLUDE})
        list(REMOVE_ITEM sources ${ZELKOVA_SOURCE_ROOT}/${f})
    endforeach()
    list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$")

    set(published ${CMAKE_BINARY_DIR}/layers/${layer})
    file(REMOVE_RECURSE ${published})
    foreach(f ${sources})
        if(f MATCHES "\\.h$")
            file(RELATIVE_PATH rel ${ZELKOVA_SOURCE_ROOT} ${f})
            get_filename_component(folder ${published}/${rel} DIRECTORY)
            file(MAKE_DIRECTORY ${folder})
            file(CREATE_LINK ${f} ${published}/${rel} SYMBOLIC)
        endif()
    endforeach()

    # A layer without sources yet is an interface library that passes on
    # what it links.
    set(scope PUBLIC)
    if(sources)
        add_library(zelkova_${layer} STATIC ${sources})
    else()
        add_library(zelkova_${layer} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(zelkova_${layer} ${scope} ${published})
    foreach(below ${L_LINKS})
        if(NOT TARGET zelkova_${below})
            message(FATAL_ERROR "layer ${layer}: '${below}' is not a layer defined below it")
        endif()
        target_link_libraries(zelkova_${layer} ${scope} zelkova_${below})
    endforeach()
    if(L_EXTERNAL)
        target_link_libraries(zelkova_${layer} ${scope} ${L_EXTERNAL})
    endif()
endfunction()

# The tip help pages, written at build time by tools/helpgen into a folder
# "help" beside the program. helpgen reads the same tip tables the program
# runs on, so it is compiled from the logic's own sources; in the cross build
# with the build machine's compiler, as artgen is (see Resources.cmake).
# English pages go into "help", each translation's into "help/<code>" (the
# codes of i18n/languages.cpp), drawn from the catalogues the build compiles
# (cmake/Translations.cmake).
#
#   include(cmake/HelpPages.cmake)
#   veltrano_add_help_pages(<target>)

set(VELTRANO_HELP_PAGES tip0025.htm tip0050.htm tip0075.htm tip0100.htm tip0125.htm)
set(VELTRANO_HELPGEN_SOURCES help_pages.cpp prose.cpp helpgen.cpp)

# Absolute paths of a library's sources, whatever folder it was declared in.
function(veltrano_sources_of target out)
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    set(result)
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.cpp$")
            if(NOT IS_ABSOLUTE ${source})
                set(source ${dir}/${source})
            endif()
            list(APPEND result ${source})
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

function(veltrano_add_help_pages target)
    get_filename_component(root "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.." ABSOLUTE)
    set(help_dir ${CMAKE_CURRENT_BINARY_DIR}/help)
    set(pages ${VELTRANO_HELP_PAGES})
    list(TRANSFORM pages PREPEND ${help_dir}/)
    # One folder per translation, named by the language's code as
    # i18n/languages.cpp has it: gettext's pt_BR is pt-BR.
    foreach(translation IN LISTS VELTRANO_TRANSLATIONS)
        string(REPLACE "_" "-" language ${translation})
        set(translated ${VELTRANO_HELP_PAGES})
        list(TRANSFORM translated PREPEND ${help_dir}/${language}/)
        list(APPEND pages ${translated})
    endforeach()

    set(sources ${VELTRANO_HELPGEN_SOURCES})
    list(TRANSFORM sources PREPEND ${root}/tools/helpgen/)
    foreach(library IN ITEMS veltrano_tips veltrano_core veltrano_platform veltrano_i18n)
        veltrano_sources_of(${library} library_sources)
        list(APPEND sources ${library_sources})
    endforeach()
    file(GLOB_RECURSE headers ${root}/tools/helpgen/*.h ${root}/tips/*.h ${root}/core/*.h ${root}/platform/*.h ${root}/i18n/*.h)

    find_program(VELTRANO_HOST_CXX NAMES c++ g++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(helpgen ${CMAKE_BINARY_DIR}/helpgen)
    add_custom_command(
        OUTPUT ${helpgen}
        COMMAND ${VELTRANO_HOST_CXX} -std=c++20 -O1 -I${root} -o ${helpgen} ${sources}
        DEPENDS ${sources} ${headers}
        COMMENT "Building helpgen for the build machine"
        VERBATIM)
    add_custom_command(
        OUTPUT ${pages}
        COMMAND ${helpgen} ${help_dir} ${VELTRANO_CATALOGUE_DIR}
        DEPENDS ${helpgen} ${VELTRANO_CATALOGUES}
        COMMENT "Writing the tip help pages"
        VERBATIM)
    add_custom_target(${target}_help_pages DEPENDS ${pages})
    add_dependencies(${target} ${target}_help_pages)
endfunction()

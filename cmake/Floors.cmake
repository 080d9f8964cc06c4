# Each folder's headers reach only the targets that link its library.
#
#   veltrano_floor(TARGET FOLDER [HEADER...])
#
# links the folder's headers (all of them, or those named) into a folder of
# the build tree kept for TARGET, and puts that folder on TARGET's public
# include path in place of the source tree's root. An include of
# "tips/catalogue.h" then compiles only in a target that links veltrano_tips,
# directly or through its floors: an include against the floors fails to
# build (tests/floors checks that it does).
function(veltrano_floor target folder)
    set(root ${CMAKE_BINARY_DIR}/floors/${target})
    if(ARGN)
        list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/${folder}/ OUTPUT_VARIABLE headers)
    else()
        file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    endif()
    file(REMOVE_RECURSE ${root}/${folder})
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header IN LISTS headers)
        get_filename_component(name ${header} NAME)
        file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()

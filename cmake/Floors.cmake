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
#
# The compiler still finds a header by a path relative to the including
# file ("../tips/catalogue.h", or a sibling's bare "context.h"), which no
# include path can forbid. So each checked target's include path is written
# out at generate time (floors/visible/TARGET), and the test
# includes_keep_to_their_floors holds every header the compiler actually
# opened for the target's objects against the headers on it.
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
        veltrano_floor_checked(${target})
    endif()
endfunction()

# Holds the target's objects to the headers on its include path.
function(veltrano_floor_checked target)
    set_property(GLOBAL APPEND PROPERTY VELTRANO_FLOOR_CHECKED ${target})
endfunction()

function(veltrano_write_floor_visibility)
    get_property(targets GLOBAL PROPERTY VELTRANO_FLOOR_CHECKED)
    foreach(target IN LISTS targets)
        file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/floors/visible/${target}
            CONTENT "$<JOIN:$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>,\n>\n")
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL veltrano_write_floor_visibility)

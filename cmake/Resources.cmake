# The Windows program's resources. tools/artgen is compiled for the machine
# running the build (the project's compiler here is the cross compiler, whose
# output would not run) and writes the pictures and sounds into
# ${CMAKE_BINARY_DIR}/res; windres then compiles shell/res/veltrano.rc, which
# finds those files through its include path.
#
#   include(cmake/Resources.cmake)
#   veltrano_add_resources(<target>)

set(VELTRANO_ARTGEN_SOURCES canvas.cpp formats.cpp artwork.cpp sound.cpp assets.cpp artgen.cpp)
set(VELTRANO_ARTGEN_HEADERS canvas.h formats.h artwork.h sound.h assets.h)

# What artgen writes; veltrano.rc names each of these, which artgen_test checks.
set(VELTRANO_GENERATED_RESOURCES
    veltrano.ico
    Image_welcome_screen.bmp Image_network_options.bmp Image_power_options.bmp
    Image_system_options.bmp Image_customization_options.bmp Image_undo_options.bmp
    Image_regclean_option.bmp Image_process_monitor.bmp Image_admin_options.bmp
    Image_exit_options.bmp
    Image_frame_top.bmp Image_frame_bottom.bmp Image_frame_left.bmp Image_frame_right.bmp
    Image5.bmp Image3.bmp Help.bmp
    Image26.bmp Image27.bmp Image28.bmp Image29.bmp Image30.bmp Image31.bmp
    Image32.bmp Image33.bmp Image34.bmp Image35.bmp Image36.bmp Image37.bmp
    Image38.bmp Image39.bmp Image40.bmp Image41.bmp Image42.bmp
    START.wav DONE.wav
)

function(veltrano_add_resources target)
    get_filename_component(root "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.." ABSOLUTE)
    set(artgen_dir ${root}/tools/artgen)
    set(res_dir ${CMAKE_BINARY_DIR}/res)
    set(script_dir ${root}/shell/res)

    set(generated ${VELTRANO_GENERATED_RESOURCES})
    list(TRANSFORM generated PREPEND ${res_dir}/)

    if(NOT TARGET veltrano_generated_resources)
        # Not the cross toolchain's c++: find_program must look on the build
        # machine, outside the mingw sysroot.
        find_program(VELTRANO_HOST_CXX NAMES c++ g++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)

        set(sources ${VELTRANO_ARTGEN_SOURCES})
        set(headers ${VELTRANO_ARTGEN_HEADERS})
        list(TRANSFORM sources PREPEND ${artgen_dir}/)
        list(TRANSFORM headers PREPEND ${artgen_dir}/)
        set(artgen ${CMAKE_BINARY_DIR}/artgen)

        add_custom_command(
            OUTPUT ${artgen}
            COMMAND ${VELTRANO_HOST_CXX} -std=c++20 -O2 -o ${artgen} ${sources}
            DEPENDS ${sources} ${headers}
            COMMENT "Building artgen for the build machine"
            VERBATIM)
        add_custom_command(
            OUTPUT ${generated}
            COMMAND ${artgen} ${res_dir}
            DEPENDS ${artgen}
            COMMENT "Drawing the program's pictures and sounds"
            VERBATIM)
        add_custom_target(veltrano_generated_resources DEPENDS ${generated})
    endif()

    set(rc ${script_dir}/veltrano.rc)
    target_sources(${target} PRIVATE ${rc})
    # windres has no dependency scanning of its own: name every file the
    # script pulls in, so a redrawn icon or an edited manifest relinks.
    set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY
        OBJECT_DEPENDS ${generated} ${VELTRANO_CATALOGUES} ${script_dir}/resource.h ${script_dir}/veltrano.manifest)
    set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY
        INCLUDE_DIRECTORIES ${res_dir} ${script_dir})
    if(DEFINED veltrano_VERSION_MAJOR)
        set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_DEFINITIONS
            VELTRANO_VERSION_MAJOR=${veltrano_VERSION_MAJOR}
            VELTRANO_VERSION_MINOR=${veltrano_VERSION_MINOR}
            VELTRANO_VERSION_PATCH=${veltrano_VERSION_PATCH})
    endif()
    add_dependencies(${target} veltrano_generated_resources veltrano_catalogues)
endfunction()

# veltrano_delay_load(<target> <dll> <def>)
#
# Links <target> to <dll> through a delay-load import library that dlltool
# makes from <def>: the DLL is loaded at the first call of one of its
# functions, not at process start. For a DLL that is rarely used and costly to
# load: comdlg32 brings winspool and compstui with it, about 10 ms of every
# start under Wine. A function the .def does not name still links, through
# the ordinary import library, and then loads the DLL at start again: keep
# the .def in step with the calls.
function(veltrano_delay_load target dll def)
    if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
        return()
    endif()
    # The i686 exe linked this way calls a null pointer at the first call
    # (measured under Wine): there the DLL is imported as usual.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        return()
    endif()
    string(REGEX REPLACE "gcc(-posix|-win32)?$" "dlltool" dlltool_name "${CMAKE_C_COMPILER}")
    find_program(VELTRANO_DLLTOOL NAMES ${dlltool_name} dlltool REQUIRED)
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${dll}_delay.a)
    # The .def names the functions as i686 code calls them (stdcall, "@"
    # and the bytes of arguments); x86_64 code calls them undecorated.
    set(used_def ${def})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        file(READ ${def} text)
        string(REGEX REPLACE "@[0-9]+" "" text "${text}")
        set(used_def ${CMAKE_CURRENT_BINARY_DIR}/${dll}_delay.def)
        file(WRITE ${used_def} "${text}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    endif()
    add_custom_command(
        OUTPUT ${lib}
        COMMAND ${VELTRANO_DLLTOOL} --kill-at --input-def ${used_def} --dllname ${dll}.dll --output-delaylib ${lib}
        DEPENDS ${used_def}
        COMMENT "Delay-load import library for ${dll}"
        VERBATIM)
    add_custom_target(${target}_${dll}_delay DEPENDS ${lib})
    add_dependencies(${target} ${target}_${dll}_delay)
    # Before the ordinary import libraries, which the toolchain also links by
    # default, so its symbols are the ones taken.
    target_link_libraries(${target} PRIVATE ${lib})
endfunction()

# veltrano_delayed_dlls(<dll>...)
#
# For each <dll>, the target delayed_<dll> to link in place of <dll> itself:
# in the x86_64 build it links a delay-load import library that dlltool makes
# from cmake/delayload/<dll>.def, so the DLL is loaded at the first call of
# one of its functions, not at process start. None of these DLLs is needed
# before the window's first paint; loading them at start cost about 20 ms
# under Wine (comdlg32 brings winspool and compstui, winmm brings ole32 and
# msacm32, then shell32, oleaut32 and ws2_32).
#
# A function the .def does not name still links, through the ordinary import
# library, and then loads the DLL at start again: keep the .def in step with
# the calls. The test veltrano_imports_at_start catches a DLL loaded at start
# by veltrano.exe; test programs may call more.
#
# The i686 exe linked this way calls a null pointer at the first call
# (measured under Wine): there delayed_<dll> is the ordinary import.
function(veltrano_delayed_dlls)
    set(delay FALSE)
    if(CMAKE_SYSTEM_NAME STREQUAL "Windows" AND CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(delay TRUE)
        string(REGEX REPLACE "gcc(-posix|-win32)?$" "dlltool" dlltool_name "${CMAKE_C_COMPILER}")
        find_program(VELTRANO_DLLTOOL NAMES ${dlltool_name} dlltool REQUIRED)
    endif()
    foreach(dll IN LISTS ARGN)
        add_library(delayed_${dll} INTERFACE)
        if(NOT delay)
            target_link_libraries(delayed_${dll} INTERFACE ${dll})
            continue()
        endif()
        set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
        set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delayload)
        set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
        # Made here rather than by a build rule: the libraries that link it
        # are static, and only the exes that link them would wait for a rule.
        execute_process(
            COMMAND ${VELTRANO_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
            RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "dlltool could not make the delay-load library of ${dll}")
        endif()
        # Ahead of the ordinary import library, so its symbols are the ones
        # taken; what it does not name comes from the ordinary one.
        target_link_libraries(delayed_${dll} INTERFACE ${lib} ${dll})
    endforeach()
endfunction()

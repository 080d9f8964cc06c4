# veltrano_delayed_dlls(<dll>...)
#
# For each <dll>, the target delayed_<dll> to link in place of <dll> itself:
# in the Windows builds it links a delay-load import library that dlltool makes
# from cmake/delayload/<dll>.def, so the DLL is loaded at the first call of
# one of its functions, not at process start. None of these DLLs is needed
# before the window's first paint; loading them at start cost about 20 ms
# under Wine (comdlg32 brings winspool and compstui, winmm brings ole32 and
# msacm32, then shell32, oleaut32 and ws2_32). comctl32 is, but the window
# asks for it before its first control anyway; a script's run (/apply)
# makes no window, and with comctl32 at start it paid for the themes and
# the display driver besides: 215 to 235 ms to the entry point under Wine,
# 76 to 85 ms without.
#
# A function the .def does not name still links, through the ordinary import
# library, and then loads the DLL at start again: keep the .def in step with
# the calls. The test veltrano_imports_at_start catches a DLL loaded at start
# by veltrano.exe; test programs may call more.
#
# The i686 build needs two things more, both found with a small test
# program under Wine. Its callers name the stdcall-decorated symbols
# (__imp__PlaySoundW@12), which a library made from the undecorated .def
# does not define: the ordinary import library answered them and nothing
# was delay-loaded. So the .def is decorated at configure time from the
# ordinary import library's own names (dlltool still imports the
# undecorated name). And a call through a dllimport declaration refers only
# to __imp__<name>@N, never to the member's code: i686 ld then drops the
# member's .text as it drops an ordinary import stub's unused jump ("Discarded
# input sections" in the link map), but in a delay-load member that .text
# also holds the thunk the IAT slot points at, so the slot was 0 and the
# first call jumped to address 0. A -u for each function keeps the thunks.
function(veltrano_delayed_dlls)
    set(delay FALSE)
    if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
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
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            veltrano_decorated_def(${dll} ${def} def keep)
            target_link_options(delayed_${dll} INTERFACE ${keep})
        endif()
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

# The i686 .def of <dll>: each name of <def> as the ordinary import library
# decorates it (PlaySoundW@12), in <out_def>; and in <out_keep> a -u for
# each function's code symbol, so the link keeps its thunk.
function(veltrano_decorated_def dll def out_def out_keep)
    execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=lib${dll}.a
                    OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_NM} -g ${import_lib} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "no import library of ${dll} to decorate its delay-load names from")
    endif()
    file(STRINGS ${def} lines)
    set(text "")
    set(keep "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[A-Za-z_][A-Za-z0-9_]*$" AND NOT line STREQUAL "EXPORTS")
            if(NOT symbols MATCHES " I __imp__(${line}@[0-9]+)\n")
                message(FATAL_ERROR "lib${dll}.a has no stdcall ${line}: it cannot be delay-loaded in the i686 build")
            endif()
            set(line ${CMAKE_MATCH_1})
            list(APPEND keep "LINKER:-u,_${line}")
        endif()
        string(APPEND text "${line}\n")
    endforeach()
    set(decorated ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
    file(WRITE ${decorated} "${text}")
    set(${out_def} ${decorated} PARENT_SCOPE)
    set(${out_keep} ${keep} PARENT_SCOPE)
endfunction()

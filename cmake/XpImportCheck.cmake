# veltrano_add_xp_import_check(<target> [NAME <test>] [DELAYED])
#
# Adds a ctest test that fails when the exe built by <target> imports a
# function Windows XP does not export (tools/xpcheck/xpcheck.sh says how it
# judges). Only the i686 build gets the test: that is the build XP runs. The
# test is named xp_imports_<target> unless NAME is given. DELAYED: the
# target links the delay-loaded DLLs, whose functions are checked too.
set(VELTRANO_XPCHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../tools/xpcheck/xpcheck.sh)

function(veltrano_add_xp_import_check target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "DELAYED" "NAME" "")
    if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows" OR NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        return()
    endif()
    if(NOT arg_NAME)
        set(arg_NAME xp_imports_${target})
    endif()
    find_program(VELTRANO_BASH bash REQUIRED)
    # The delay-loaded functions (cmake/DelayLoad.cmake) are imports the
    # import table does not show.
    set(delayed "")
    if(arg_DELAYED)
        file(GLOB delay_defs ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delayload/*.def)
        foreach(def IN LISTS delay_defs)
            list(APPEND delayed --delayed ${def})
        endforeach()
    endif()
    add_test(NAME ${arg_NAME}
        COMMAND ${VELTRANO_BASH} ${VELTRANO_XPCHECK_SCRIPT}
                --objdump ${CMAKE_OBJDUMP} --cc ${CMAKE_C_COMPILER} ${delayed} $<TARGET_FILE:${target}>)
    set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT 120)
endfunction()

# Import libraries for the system and runtime DLLs, made from Wine's own DLLs:
# Wine's import libraries are in the GNU format and its msvcp140 one lacks the
# standard library's decorated C++ names. Each DLL's export table becomes a
# module definition, and llvm-dlltool makes the .lib from it. Done at configure
# time, once per build folder (a few seconds).
#
# tarnvel_msvc_import_libraries(<out-var> <dll names...>) sets <out-var> to the
# list of the .lib files.

# Functions that the runtime's static part defines in every module, although
# Wine's ucrtbase exports them too: atexit must register with the module's own
# table, so that a DLL's static objects are destroyed when it is unloaded.
set(msvc_abi_module_local_exports atexit _onexit at_quick_exit)

include(${CMAKE_CURRENT_LIST_DIR}/ExportNames.cmake)

function(tarnvel_msvc_import_libraries out_var)
    set(lib_dir ${CMAKE_BINARY_DIR}/msvc-abi/lib)
    file(MAKE_DIRECTORY ${lib_dir})
    find_program(readobj NAMES llvm-readobj-22 REQUIRED)
    find_program(dlltool NAMES llvm-dlltool-22 REQUIRED)
    set(libs)
    foreach(name ${ARGN})
        set(lib ${lib_dir}/${name}.lib)
        if(NOT EXISTS ${lib})
            set(dll ${TARNVEL_WINE_DLLS}/${name}.dll)
            if(NOT EXISTS ${dll})
                message(FATAL_ERROR "msvc-abi: ${dll} not found (package libwine-dev / wine64)")
            endif()
            tarnvel_export_names(symbols ${readobj} ${dll})
            set(def "LIBRARY ${name}.dll\nEXPORTS\n")
            foreach(symbol ${symbols})
                if(NOT symbol IN_LIST msvc_abi_module_local_exports)
                    string(APPEND def "    ${symbol}\n")
                endif()
            endforeach()
            file(WRITE ${lib_dir}/${name}.def "${def}")
            execute_process(COMMAND ${dlltool} -m i386:x86-64
                    -d ${lib_dir}/${name}.def -l ${lib}
                RESULT_VARIABLE failed)
            if(failed)
                message(FATAL_ERROR "msvc-abi: llvm-dlltool failed for ${name}")
            endif()
        endif()
        list(APPEND libs ${lib})
    endforeach()
    set(${out_var} ${libs} PARENT_SCOPE)
endfunction()

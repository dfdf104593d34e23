# Lays out the SDK-shaped folder of the host stand-in (cmake -P), as the host's SDK
# is laid out for the build for the CAD application (cmake/HostSdk.cmake):
#   include/   host/'s declarations;
#   lib/       an import library for each of the host's libraries;
#   bin/       a DLL of each name, holding no code: its exports forward to simhost.dll.
# Which library exports which of simhost.dll's names is the table HostLibraries.txt.
#
# -D SIMHOST_DLL=  simhost.dll, whose export table is read
#    TABLE=        HostLibraries.txt
#    HEADERS=      host/
#    SDK=          the folder to lay out (made anew)
#    WORK=         a folder for the module definitions (made anew)
#    READOBJ=      llvm-readobj
#    LINKER=       lld-link
#    NO_CODE=      an object file with nothing in it: the linker makes no DLL without one
foreach(variable SIMHOST_DLL TABLE HEADERS SDK WORK READOBJ LINKER NO_CODE)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "MakeHostSdk.cmake: -D${variable}= missing")
    endif()
endforeach()

# The table: each line a library and the identifiers of its family.
set(libraries)
file(STRINGS ${TABLE} lines REGEX "^[A-Za-z]")
foreach(line ${lines})
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    string(REGEX REPLACE "[ \t]+" ";" words "${line}")
    list(POP_FRONT words library)
    list(APPEND libraries ${library})
    set(exports_${library})
    foreach(word ${words})
        if(DEFINED library_of_${word})
            message(FATAL_ERROR "${TABLE}: ${word} is in ${library_of_${word}} and ${library}")
        endif()
        set(library_of_${word} ${library})
        set(used_${word} OFF)
    endforeach()
    list(APPEND identifiers ${words})
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/msvc-abi/ExportNames.cmake)
tarnvel_export_names(symbols ${READOBJ} ${SIMHOST_DLL})
get_filename_component(simhost ${SIMHOST_DLL} NAME_WE)

# A decorated name is owned by the identifiers before its first "@@": a member's
# name and its class and namespaces, or a free function's name and its namespaces
# (after "??" comes the code of a constructor, an operator or a vftable, then the
# class). After the "@@", a digit marks data (static members, vftables).
foreach(symbol ${symbols})
    string(REGEX REPLACE "^\\?\\?(_[0-9A-Z]|[0-9A-Z])" "" qualified "${symbol}")
    string(REGEX REPLACE "^\\?" "" qualified "${qualified}")
    string(FIND "${qualified}" "@@" end)
    set(after "")
    if(end GREATER_EQUAL 0)
        math(EXPR after_start "${end} + 2")
        string(SUBSTRING "${qualified}" ${after_start} 1 after)
        string(SUBSTRING "${qualified}" 0 ${end} qualified)
    endif()
    string(REPLACE "@" ";" names "${qualified}")
    set(owner "")
    foreach(name ${names})
        if(DEFINED library_of_${name})
            if(owner AND NOT owner STREQUAL library_of_${name})
                message(FATAL_ERROR "${symbol} belongs to both ${owner} and ${library_of_${name}}")
            endif()
            set(owner ${library_of_${name}})
            set(used_${name} ON)
        endif()
    endforeach()
    if(owner)
        set(line "    ${symbol}=${simhost}.${symbol}")
        if(after MATCHES "^[0-9]$")
            string(APPEND line " DATA")
        endif()
        string(APPEND exports_${owner} "${line}\n")
    endif()
endforeach()

foreach(identifier ${identifiers})
    if(NOT used_${identifier})
        message(FATAL_ERROR "${TABLE}: ${identifier} (${library_of_${identifier}}) names "
            "nothing that ${simhost}.dll exports")
    endif()
endforeach()

file(REMOVE_RECURSE ${SDK} ${WORK})
file(MAKE_DIRECTORY ${SDK}/lib ${SDK}/bin ${WORK})
file(COPY ${HEADERS}/ DESTINATION ${SDK}/include FILES_MATCHING PATTERN "*.h")
foreach(library ${libraries})
    set(def ${WORK}/${library}.def)
    file(WRITE ${def} "LIBRARY ${library}.dll\nEXPORTS\n${exports_${library}}")
    execute_process(COMMAND ${LINKER} /dll /noentry /nodefaultlib /machine:x64 /nologo
            /def:${def} /out:${SDK}/bin/${library}.dll /implib:${SDK}/lib/${library}.lib
            ${NO_CODE}
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "lld-link failed for ${library}")
    endif()
endforeach()

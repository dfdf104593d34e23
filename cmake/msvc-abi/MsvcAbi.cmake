# The runtime of the msvc-abi build (toolchain file clang-cl-msvc-x86_64.cmake):
# import libraries made from Wine's DLLs, and the static start-up part of the
# runtime (startup/), linked into every DLL and program of that build and into
# nothing that users install. Every target made after this file is included
# links both.
include(${CMAKE_CURRENT_LIST_DIR}/ImportLibraries.cmake)

if(NOT IS_DIRECTORY "${TARNVEL_MSVC_STL}/stl/inc")
    message(FATAL_ERROR "msvc-abi: Microsoft's standard library not found in "
        "${TARNVEL_MSVC_STL} (set TARNVEL_MSVC_STL to its folder)")
endif()

# Wine's ucrtbase also exports what Microsoft's runtime has in vcruntime140 (the
# exception handlers, memcpy...); the linker takes a name from the first library
# that has it, so vcruntime140 comes first and the modules import as the host
# compiler's do.
tarnvel_msvc_import_libraries(msvc_abi_import_libraries
    vcruntime140 msvcp140 ucrtbase kernel32 user32 gdi32 advapi32 shell32 psapi ntdll)

# None of the platform's default system libraries: the runtime below names
# those the build has.
set(CMAKE_C_STANDARD_LIBRARIES "")
set(CMAKE_CXX_STANDARD_LIBRARIES "")

# Targets that name a system library (advapi32, psapi) find it here.
link_directories(${CMAKE_BINARY_DIR}/msvc-abi/lib)

# The start-up part, without /GS: it sets the cookie that /GS checks.
set(startup ${CMAKE_CURRENT_LIST_DIR}/startup)
add_library(msvc_abi_startup STATIC
    ${startup}/ConsoleEntry.cpp
    ${startup}/DefaultDllMain.cpp
    ${startup}/DllStartup.cpp
    ${startup}/FloatUsed.cpp
    ${startup}/InitializerTables.cpp
    ${startup}/ModuleExitTable.cpp
    ${startup}/OperatorNew.cpp
    ${startup}/ProgramStart.cpp
    ${startup}/SecurityCookie.cpp
    ${startup}/ThreadSafeStatics.cpp
    ${startup}/TlsDirectory.cpp
    ${startup}/TypeInfo.cpp
    ${startup}/WindowedEntry.cpp
)
target_compile_options(msvc_abi_startup PRIVATE /GS- /W4)

# The standard library's static part: what Microsoft's import library of
# msvcp140.dll holds as code (lazy facets' registration, the file system and
# system error messages over Win32), from the library's own sources, and what
# Wine's msvcp140.dll lacks (stl/).
add_library(msvc_abi_stl_static STATIC
    ${TARNVEL_MSVC_STL}/stl/src/filesystem.cpp
    ${TARNVEL_MSVC_STL}/stl/src/locale0_implib.cpp
    ${TARNVEL_MSVC_STL}/stl/src/syserror_import_lib.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stl/ConditionTimedWait.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stl/CopyFile2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stl/ThreadSleep.cpp
)
target_include_directories(msvc_abi_stl_static PRIVATE ${CMAKE_CURRENT_LIST_DIR}/stl/include)
target_compile_options(msvc_abi_stl_static PRIVATE /W3)

add_library(msvc_abi_runtime INTERFACE)
target_link_libraries(msvc_abi_runtime INTERFACE
    msvc_abi_stl_static msvc_abi_startup ${msvc_abi_import_libraries})
link_libraries(msvc_abi_runtime)

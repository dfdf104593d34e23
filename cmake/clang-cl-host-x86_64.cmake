# The build for the CAD application (CMakeLists.txt's path through HostSdk.cmake,
# the `host` preset's) run on Linux, by the host-clang-cl preset: the compiler
# part of the msvc-abi build (clang-cl-compiler.cmake) in place of Microsoft's
# compiler, and in place of Microsoft's runtime libraries those that the msvc-abi
# build has made: the import libraries of Wine's runtime and system DLLs, the
# runtime's start-up part and the standard library's static part. Build the
# msvc-abi preset first; it also makes the SDK-shaped folder that this build is
# pointed at (sim/host/sdk).
include(${CMAKE_CURRENT_LIST_DIR}/clang-cl-compiler.cmake)

get_filename_component(default_msvc_abi_build "${CMAKE_CURRENT_LIST_DIR}/../build/msvc-abi" ABSOLUTE)
set(TARNVEL_MSVC_ABI_BUILD "${default_msvc_abi_build}" CACHE PATH
    "The msvc-abi build whose runtime libraries this build links")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARNVEL_MSVC_ABI_BUILD)

# In the msvc-abi build's own order (msvc-abi/MsvcAbi.cmake): vcruntime140 before
# ucrtbase, so that the names both export are imported as the host compiler's
# modules import them.
set(runtime_libraries
    ${TARNVEL_MSVC_ABI_BUILD}/lib/msvc_abi_stl_static.lib
    ${TARNVEL_MSVC_ABI_BUILD}/lib/msvc_abi_startup.lib)
foreach(name vcruntime140 msvcp140 ucrtbase kernel32 user32 gdi32 advapi32 shell32 psapi ntdll)
    list(APPEND runtime_libraries ${TARNVEL_MSVC_ABI_BUILD}/msvc-abi/lib/${name}.lib)
endforeach()
foreach(library ${runtime_libraries})
    if(NOT EXISTS ${library})
        message(FATAL_ERROR "host-clang-cl: ${library} not found: build the msvc-abi "
            "preset first (or set TARNVEL_MSVC_ABI_BUILD)")
    endif()
endforeach()
# Where Microsoft's compiler takes its default libraries and CMake's list of the
# system's.
list(JOIN runtime_libraries " " CMAKE_C_STANDARD_LIBRARIES)
set(CMAKE_CXX_STANDARD_LIBRARIES "${CMAKE_C_STANDARD_LIBRARIES}")

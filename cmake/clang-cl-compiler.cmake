# The compiler part of the two clang-cl toolchains: clang in MSVC mode (clang-cl,
# lld-link) for x86_64-pc-windows-msvc, with Microsoft's open-source C++ standard
# library and Wine's SDK and CRT headers. Its name decoration, class layout,
# vtables, RTTI and exceptions are those of the host's compiler. Included by
# clang-cl-msvc-x86_64.cmake (the msvc-abi build) and clang-cl-host-x86_64.cmake
# (the build for the CAD application, run on Linux).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(msvc_triple x86_64-pc-windows-msvc)
set(CMAKE_C_COMPILER clang-cl-22)
set(CMAKE_C_COMPILER_TARGET ${msvc_triple})
set(CMAKE_CXX_COMPILER clang-cl-22)
set(CMAKE_CXX_COMPILER_TARGET ${msvc_triple})
set(CMAKE_LINKER lld-link-22)
set(CMAKE_AR llvm-lib-22)
set(CMAKE_RC_COMPILER llvm-rc-22)
set(CMAKE_MT llvm-mt-22)

# Microsoft's standard library: by default the release kept beside the
# repository's folder; another machine names its own copy.
get_filename_component(default_stl "${CMAKE_CURRENT_LIST_DIR}/../../shared/msvc-stl" ABSOLUTE)
set(TARNVEL_MSVC_STL "${default_stl}" CACHE PATH
    "Microsoft's C++ standard library (its stl/inc and stl/src)")
set(TARNVEL_WINE_INCLUDE /usr/include/wine/wine CACHE PATH
    "Wine's headers (msvcrt/ and windows/)")
set(TARNVEL_WINE_DLLS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH
    "Wine's 64-bit DLLs, whose export tables give the import libraries")

# The compiler checks link no program: the runtime's start-up part and the
# import libraries are made by the msvc-abi build itself (msvc-abi/MsvcAbi.cmake).
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# The release runtime DLLs in every configuration: Wine has no debug runtime.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)

# Include order, as the host's compiler reads its INCLUDE variable: stand-ins for
# the compiler's closed runtime headers, the standard library, completions of
# Wine's CRT headers, Wine's CRT, fixes of Wine's SDK headers, Wine's SDK. /X
# keeps the build machine's own headers out.
set(stand_ins ${CMAKE_CURRENT_LIST_DIR}/msvc-abi)
set(msvc_includes
    ${stand_ins}/runtime
    ${TARNVEL_MSVC_STL}/stl/inc
    ${stand_ins}/crt
    ${TARNVEL_WINE_INCLUDE}/msvcrt
    ${stand_ins}/sdk
    ${TARNVEL_WINE_INCLUDE}/windows)
set(msvc_flags "-fms-compatibility-version=19.44 /X")
foreach(dir ${msvc_includes})
    string(APPEND msvc_flags " /imsvc ${dir}")
endforeach()
# WCHAR is wchar_t as in the real SDK (Wine makes it char16_t otherwise), and
# GetExceptionCode is the compiler's, as with the real SDK.
# Wine 8's msvcp140 lays its mutex out differently from this release of the
# standard library, and its vectorised algorithms are for Microsoft's compiler.
string(APPEND msvc_flags
    " /DWINE_UNICODE_NATIVE /DUSE_COMPILER_EXCEPTIONS /D_DISABLE_CONSTEXPR_MUTEX_CONSTRUCTOR /D_USE_STD_VECTOR_ALGORITHMS=0")
set(CMAKE_C_FLAGS_INIT "${msvc_flags}")
set(CMAKE_CXX_FLAGS_INIT "${msvc_flags} /EHsc")
# Without the runtime checks (/RTC1), whose handlers are in the compiler's closed
# static library.
set(CMAKE_C_FLAGS_DEBUG_INIT "/Od /Z7")
set(CMAKE_CXX_FLAGS_DEBUG_INIT "/Od /Z7")
# The runtime's libraries are named by each toolchain: not the ones the objects
# ask for, which are Microsoft's.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "/nodefaultlib /manifest:no")
endforeach()

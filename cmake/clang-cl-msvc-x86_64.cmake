# The build in the host compiler's own ABI (the msvc-abi preset): clang-cl with
# Microsoft's standard library and Wine's headers (clang-cl-compiler.cmake), and
# import libraries made from Wine's DLLs. The plug-in, the host stand-in and the
# tests built with it meet each other as the integrator's DLL meets the CAD
# application. What neither the standard library nor Wine provides is in
# msvc-abi/ beside this file (msvc-abi/README.md). Test executables run under
# Wine through wine-run.
include(${CMAKE_CURRENT_LIST_DIR}/clang-cl-compiler.cmake)
set(TARNVEL_MSVC_ABI ON)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)

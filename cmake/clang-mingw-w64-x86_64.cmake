# The second compiler: clang for the same target as the mingw-w64 build, using
# the mingw-w64 headers and import libraries and the posix-thread-model GCC
# runtime (libstdc++, libgcc, winpthreads), so that its programs behave like the
# g++ ones. Test executables run under Wine through the wrapper beside this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${mingw_triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${mingw_triple})
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# The sysroot keeps the build machine's own /usr/include out of the search path.
set(CMAKE_SYSROOT /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# clang does not recognise Debian's GCC folder name ("12-posix"), so it finds
# neither libstdc++'s headers nor libgcc by itself: ask the posix g++ where its
# runtime lives and name it explicitly.
execute_process(
    COMMAND ${mingw_triple}-g++-posix -print-file-name=libstdc++.a
    OUTPUT_VARIABLE gcc_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE gcc_found)
if(NOT gcc_found EQUAL 0 OR NOT IS_ABSOLUTE "${gcc_libstdcxx}")
    message(FATAL_ERROR "clang build: ${mingw_triple}-g++-posix, whose runtime it uses, is missing")
endif()
get_filename_component(gcc_runtime_dir "${gcc_libstdcxx}" DIRECTORY)
set(libstdcxx_headers ${gcc_runtime_dir}/include/c++)

# libstdc++ was built by GCC, and clang must see the target as GCC does:
# - thread-local variables are emulated, and libstdc++ holds some of them
#   (std::call_once's state);
# - type_info equality is out of line (GCC predefines this macro for the target,
#   clang does not; otherwise both define the operator and the link fails).
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls -D__GXX_TYPEINFO_EQUALITY_INLINE=0 \
-stdlib++-isystem ${libstdcxx_headers} \
-stdlib++-isystem ${libstdcxx_headers}/${mingw_triple} \
-stdlib++-isystem ${libstdcxx_headers}/backward")
# -pthread links winpthreads, which the posix-model libstdc++ and libgcc call.
#
# The linker is LLVM's. GNU ld links these programs as well, but clang emits its
# own copies of some standard type_info records that libstdc++ holds too, padded
# differently, and GNU ld warns "duplicate section ... has different size" for
# each: some three hundred harmless lines in one build, which would bury any
# warning that matters. lld keeps one copy without a word.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-L${gcc_runtime_dir} -pthread -fuse-ld=lld")
endforeach()
# CMake links a whole archive (tarnvel_core into tarnvel1.dll) with --push-state,
# which this lld does not know for Windows targets; this form does the same.
set(CMAKE_CXX_LINK_LIBRARY_USING_WHOLE_ARCHIVE
    "LINKER:--whole-archive" "<LINK_ITEM>" "LINKER:--no-whole-archive")
set(CMAKE_CXX_LINK_LIBRARY_USING_WHOLE_ARCHIVE_SUPPORTED TRUE)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)

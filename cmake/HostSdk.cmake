# The build for the CAD application: the plug-in is compiled against the host's
# own SDK instead of our declarations in host/, and linked against the host's
# import libraries instead of the stand-in simhost.dll. Nothing else is built:
# the stand-ins, tests, benchmarks and fuzzer belong to the development builds.
#
# TARNVEL_HOST_SDK is the SDK's folder: its headers in include/, the import
# libraries of the host's libraries in lib/.
set(TARNVEL_HOST_SDK "" CACHE PATH
    "The host's SDK folder (headers in include/, import libraries in lib/)")
if(NOT TARNVEL_HOST_SDK)
    message(FATAL_ERROR "Building for the CAD application needs the host's SDK: "
        "configure with -DTARNVEL_HOST_SDK=<its folder>")
endif()
# A folder typed with backslashes works as well as one with slashes.
file(TO_CMAKE_PATH "${TARNVEL_HOST_SDK}" host_sdk)
if(NOT IS_DIRECTORY "${host_sdk}/include")
    message(FATAL_ERROR "TARNVEL_HOST_SDK: no include folder in ${host_sdk}")
endif()

add_library(host_headers INTERFACE)
target_include_directories(host_headers INTERFACE "${host_sdk}/include")

# The host's libraries that the plug-in calls into; each must be in the SDK.
set(host_library_names
    Cutil1dll util1dll trt1dll Cgoddll Cgo2dll cad0dll cad1dll cad2dll
    utci1dll utge1dll clgeo2dll)
add_library(host_libraries INTERFACE)
foreach(name ${host_library_names})
    find_library(host_library_${name} ${name}
        PATHS "${host_sdk}/lib" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH NO_CACHE)
    if(NOT host_library_${name})
        message(FATAL_ERROR "TARNVEL_HOST_SDK: import library ${name}.lib not found "
            "in ${host_sdk}/lib")
    endif()
    target_link_libraries(host_libraries INTERFACE "${host_library_${name}}")
endforeach()

# tarnvel_export_names(<out-var> <readobj> <dll>): sets <out-var> to the list of the
# names in the DLL's export table, read with llvm-readobj. Used when the configure
# step makes import libraries of Wine's DLLs (ImportLibraries.cmake) and when the
# build lays out the host stand-in as the host's SDK (sim/host/sdk).
function(tarnvel_export_names out_var readobj dll)
    execute_process(COMMAND ${readobj} --coff-exports ${dll}
        OUTPUT_VARIABLE export_table RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot read the exports of ${dll}")
    endif()
    string(REGEX MATCHALL "Name: [^\n]+" entries "${export_table}")
    list(TRANSFORM entries REPLACE "^Name: " "")
    set(${out_var} ${entries} PARENT_SCOPE)
endfunction()

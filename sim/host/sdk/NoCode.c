/* The DLLs of the host's libraries in the SDK-shaped folder hold no code, only
   exports that forward to simhost.dll; the linker makes no DLL without one object. */

// Stands in for the runtime's _fltused, which the compiler references from every
// object that uses floating point, so that the floating-point support is linked.
extern "C" int _fltused = 0x9875;

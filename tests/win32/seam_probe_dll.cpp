// A DLL for the tests of the DLL search: loadable from the program's folder only while the
// search still looks there.
extern "C" __declspec(dllexport) int TovrelSeamProbe() { return 42; }

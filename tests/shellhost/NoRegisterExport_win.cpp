// A library that loads but offers no DllRegisterServer: what the program meets when
// "Tessel.dll" beside it is some other library.

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) int tesselNothing() { return 0; }

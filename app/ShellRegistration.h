#pragma once
// The program's side of the shell extension: registering Tessel.dll from beside the program.

// Loads Tessel.dll from the program's directory and calls its DllRegisterServer. Returns 1
// when the library was loaded and its registration called (whatever that reported), 0
// otherwise; failures to load or to find the export are told with showMessage.
int registerShellExtension();

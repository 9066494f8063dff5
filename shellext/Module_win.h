#pragma once
// Module-wide state of Tessel.dll: its instance, the installation directory, the lock count.

#include <windows.h>

#include <string>

// The one class and its type library.
extern const CLSID CLSID_Tessel2;
extern const GUID LIBID_TESSELLib;

HINSTANCE moduleInstance();

// The installation directory read from InstallPath when the library was loaded; ends with a
// backslash as the program stores it.
const std::string& installDir();

// The library's full path, however long.
std::string modulePath();

// Live handler objects, server locks, and the cached class factory while someone other than
// the module holds it. Changed atomically: class objects and objects of different
// apartments share it.
void lockModule();
void unlockModule();
LONG moduleLocks();

// Guards the cached class factory's creation and the registration work.
class ModuleGuard {
public:
    ModuleGuard();
    ~ModuleGuard();
    ModuleGuard(const ModuleGuard&) = delete;
    ModuleGuard& operator=(const ModuleGuard&) = delete;
};

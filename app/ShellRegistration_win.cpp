// Registers the shell extension at every start, so that Explorer loads the library that
// sits beside the program last started.

#include "app/ShellRegistration.h"

#include "base/Identity.h"
#include "controls/Messages.h"
#include "base/Program.h"
#include "win/Handles.h"

#include <windows.h>

#include <string>

int registerShellExtension()
{
    const std::string path = programDirectory() + extensionFileName;
    // The library refuses to load without InstallPath, which the caller has just written.
    UniqueModule library(LoadLibraryA(path.c_str()));
    if (reinterpret_cast<UINT_PTR>(library.get()) < 32) {
        library.release();
        showMessage("Unable to load " + path, programScheme);
        return 0;
    }
    typedef HRESULT(STDAPICALLTYPE * RegisterFunction)();
    auto registerServer =
        reinterpret_cast<RegisterFunction>(reinterpret_cast<void*>(GetProcAddress(library.get(), "DllRegisterServer")));
    if (registerServer == nullptr) {
        showMessage("Dll register error!", programScheme);
        return 0;
    }
    registerServer();
    return 1;
}

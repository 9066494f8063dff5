// Entry point of Tessel2.exe.

#include "app/RenamerApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RenamerApp app;
    app.start();
    return 0;
}

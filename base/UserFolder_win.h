#pragma once
// The program's own folder below the user's local application data, for the program and the extension alike.

#include <string>

// "...\Tesselwork 2\" below the user's local application data, made when `create` is set
// and it is missing. Empty when the system names no such place or it cannot be made.
std::wstring userDataFolderWide(bool create);

#pragma once
// The program's own directory and small file helpers shared by every subsystem.

#include <string>

// The directory of the running executable, ending with a backslash. Works for paths of
// any length the system reports.
std::string programDirectory();

// Deletes a file even when it is read-only, hidden or system. False when the file is
// missing or cannot be deleted; never shows a message.
bool forceDeleteFile(const std::string& path);

// Reads a whole file that is opened without sharing. False when it cannot be opened, or
// when the read fails or comes up short part-way (then the text is left empty).
bool readWholeFileExclusive(const std::string& path, std::string& text);

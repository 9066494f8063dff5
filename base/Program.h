#pragma once
// The program's own directory and small file helpers shared by every subsystem.

#include <string>

// The directory of the running executable, ending with a backslash. Works for paths of
// any length the system reports.
std::string programDirectory();

// The program's folder below the user's local application data ("...\\Tesselwork 2\\"),
// created when `create` is set and it is missing. Empty when the system names no such
// place or it cannot be made.
std::string userDataDirectory(bool create);

// Deletes a file even when it is read-only, hidden or system. False when the file is
// missing or cannot be deleted; never shows a message.
bool forceDeleteFile(const std::string& path);

// Takes a whole file over: reads it without sharing and deletes it before anyone else can
// open it. False when it cannot be opened, or when the read fails or comes up short
// part-way; then the text is left empty and the file stays.
bool takeWholeFile(const std::string& path, std::string& text);

// Whether `path` may be replaced: a replacement renames it away, which a process holding it
// open without delete sharing refuses. Asked first because a refused replacement leaves a
// stray empty "rf*.tmp" beside it under Wine.
bool replaceableFile(const std::string& path);

// Puts the file `replacement` in the place of `target` (ReplaceFileA), which keeps the
// target's attributes, creation time and security as an overwrite in place would. False
// with the system's error code when refused.
bool replaceFileKeepingIdentity(const std::string& target, const std::string& replacement,
                                unsigned long& errorCode);

#pragma once
// Copying and moving one selected file into the target folder without losing a file when
// the copy fails part-way (a full disk, a read error).

#include <string>

// CopyFileA(from, to, FALSE), except that a copy that fails leaves an existing target as it
// was and no partial file: an existing target is replaced only by a complete copy, made
// beside it in `toFolder` (the target's folder, with its trailing backslash) first.
bool copyFileReplacing(const std::string& from, const std::string& to, const std::string& toFolder);

// MoveFileA(from, to), which never replaces and moves across volumes by copying, except
// that a move that fails, or leaves the source where it was, leaves no copy at the target.
bool moveFileKeeping(const std::string& from, const std::string& to);

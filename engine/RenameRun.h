#pragma once
// Preview, rename and undo runs over the file list lines, independent of any window.

#include "engine/RenameJournal.h"

#include <string>
#include <vector>

class NewPathComputer;

// Moves one file on disk for a run; the Win32 build moves with the program's move steps,
// tests put a model of a folder in its place.
class PathMover {
public:
    virtual ~PathMover() = default;
    virtual bool move(const std::string& from, const std::string& to) = 0;
};

// A preview (renameOnDisk false: `mover` is not used and may be null) or rename run: the
// journal is refilled from `fileLines`, each entry replaced by its new path, and the
// report text returned, one line per file, built in one pass.
std::string runRenameRules(bool renameOnDisk, const std::vector<std::string>& fileLines,
                           const NewPathComputer& computer, PathMover* mover,
                           RenameJournal& journal);

// Moves journal entry i back to file list line i, first to last, for the entries that
// have a line and that the journal's run really moved (every entry of a loaded journal);
// the journal is left as it is. Returns the report text.
std::string runUndo(const RenameJournal& journal, const std::vector<std::string>& fileLines,
                    PathMover& mover);

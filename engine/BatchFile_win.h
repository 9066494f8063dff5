#pragma once
// Batch files and result logs on disk: written completely beside the chosen file and then
// put in its place, so that a failed save leaves the earlier file as it was.

#include "engine/BatchFile.h"

#include <windows.h>

#include <functional>
#include <string>

// How a file operation ended.
struct FileOutcome {
    enum Kind {
        done,
        notOpened, // the file could not be created or opened: the command ends silently
        pastEnd,   // a batch that ends before its five items (no file name in the message)
        failed,    // a read or write failed part-way: systemCode says why
    };
    Kind kind = done;
    DWORD systemCode = 0;
};

// Writes the file at path through `write`, which gets a sink over a new file beside it;
// when everything is written that file replaces the one at path. If write fails (the
// sink's error code is kept, GetLastError otherwise), the new file is removed and the file
// at path stays as it was; a file that did not exist before is not left behind. When the
// folder takes no new file but the chosen one can be written, it is written in place.
FileOutcome writeFileReplacing(const std::string& path, const std::function<bool(ByteSink&)>& write);

FileOutcome saveBatchFile(const std::string& path, const BatchFile& batch);
FileOutcome saveBatchFile(const std::string& path, const BatchFileRefs& batch);
// `out` is changed only when the outcome is done.
FileOutcome loadBatchFile(const std::string& path, BatchFile& out);

// Creates (or empties) the file and writes the bytes in one block.
FileOutcome writeWholeFile(const std::string& path, const std::string& bytes);

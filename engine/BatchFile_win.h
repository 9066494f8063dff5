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

// Writes the file at path through `write`. A new file is written where it goes and removed
// again when the write fails. An existing one is written beside it first, and then replaces
// it keeping its attributes, creation time and security; when the write fails (the sink's
// error code is kept, GetLastError otherwise) the earlier file stays as it was, and no
// temporary file is left on any path. Where the folder takes no new file, or the earlier
// file may not be replaced (another process holds it open without delete sharing), it is
// written in place; `write` is then called a second time, into memory.
FileOutcome writeFileReplacing(const std::string& path, const std::function<bool(ByteSink&)>& write);

FileOutcome saveBatchFile(const std::string& path, const BatchFile& batch);
FileOutcome saveBatchFile(const std::string& path, const BatchFileRefs& batch);
// `out` is changed only when the outcome is done.
FileOutcome loadBatchFile(const std::string& path, BatchFile& out);

// Creates (or empties) the file and writes the bytes in one block.
FileOutcome writeWholeFile(const std::string& path, const std::string& bytes);

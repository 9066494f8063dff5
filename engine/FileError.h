#pragma once
// The standard file-error texts, and how a system error code maps onto them.

#include <string>

// What went wrong with a file, in the terms the user is told.
enum class FileErrorCause {
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
};

// The cause a Win32 error code (GetLastError) stands for; unknown codes are generic.
FileErrorCause fileErrorCauseOf(unsigned long systemCode);

// The message for a cause, naming the file; an empty name reads "an unnamed file".
std::string fileErrorText(FileErrorCause cause, const std::string& fileName);

// File-error texts and the mapping of Win32 error codes onto them. The codes are written as
// numbers so that the mapping is portable and can be tested in the native build.

#include "engine/FileError.h"

namespace {

struct CodeCause {
    unsigned long code;
    FileErrorCause cause;
};

const CodeCause codeCauses[] = {
    {2, FileErrorCause::fileNotFound},        // ERROR_FILE_NOT_FOUND
    {3, FileErrorCause::badPath},             // ERROR_PATH_NOT_FOUND
    {4, FileErrorCause::tooManyOpenFiles},    // ERROR_TOO_MANY_OPEN_FILES
    {5, FileErrorCause::accessDenied},        // ERROR_ACCESS_DENIED
    {6, FileErrorCause::invalidFile},         // ERROR_INVALID_HANDLE
    {11, FileErrorCause::invalidFile},        // ERROR_BAD_FORMAT
    {12, FileErrorCause::accessDenied},       // ERROR_INVALID_ACCESS
    {15, FileErrorCause::badPath},            // ERROR_INVALID_DRIVE
    {16, FileErrorCause::removeCurrentDir},   // ERROR_CURRENT_DIRECTORY
    {17, FileErrorCause::badPath},            // ERROR_NOT_SAME_DEVICE
    {18, FileErrorCause::fileNotFound},       // ERROR_NO_MORE_FILES
    {19, FileErrorCause::accessDenied},       // ERROR_WRITE_PROTECT
    {20, FileErrorCause::hardIO},             // ERROR_BAD_UNIT
    {21, FileErrorCause::hardIO},             // ERROR_NOT_READY
    {22, FileErrorCause::hardIO},             // ERROR_BAD_COMMAND
    {23, FileErrorCause::hardIO},             // ERROR_CRC
    {24, FileErrorCause::badSeek},            // ERROR_BAD_LENGTH
    {25, FileErrorCause::badSeek},            // ERROR_SEEK
    {26, FileErrorCause::invalidFile},        // ERROR_NOT_DOS_DISK
    {27, FileErrorCause::badSeek},            // ERROR_SECTOR_NOT_FOUND
    {29, FileErrorCause::hardIO},             // ERROR_WRITE_FAULT
    {30, FileErrorCause::hardIO},             // ERROR_READ_FAULT
    {31, FileErrorCause::hardIO},             // ERROR_GEN_FAILURE
    {32, FileErrorCause::sharingViolation},   // ERROR_SHARING_VIOLATION
    {33, FileErrorCause::lockViolation},      // ERROR_LOCK_VIOLATION
    {34, FileErrorCause::badPath},            // ERROR_WRONG_DISK
    {36, FileErrorCause::tooManyOpenFiles},   // ERROR_SHARING_BUFFER_EXCEEDED
    {38, FileErrorCause::endOfFile},          // ERROR_HANDLE_EOF
    {39, FileErrorCause::diskFull},           // ERROR_HANDLE_DISK_FULL
    {53, FileErrorCause::badPath},            // ERROR_BAD_NETPATH
    {54, FileErrorCause::accessDenied},       // ERROR_NETWORK_BUSY
    {55, FileErrorCause::badPath},            // ERROR_DEV_NOT_EXIST
    {57, FileErrorCause::hardIO},             // ERROR_ADAP_HDW_ERR
    {58, FileErrorCause::accessDenied},       // ERROR_BAD_NET_RESP
    {59, FileErrorCause::hardIO},             // ERROR_UNEXP_NET_ERR
    {62, FileErrorCause::directoryFull},      // ERROR_NO_SPOOL_SPACE
    {64, FileErrorCause::accessDenied},       // ERROR_NETNAME_DELETED
    {65, FileErrorCause::accessDenied},       // ERROR_NETWORK_ACCESS_DENIED
    {67, FileErrorCause::badPath},            // ERROR_BAD_NET_NAME
    {68, FileErrorCause::tooManyOpenFiles},   // ERROR_TOO_MANY_NAMES
    {80, FileErrorCause::accessDenied},       // ERROR_FILE_EXISTS
    {82, FileErrorCause::accessDenied},       // ERROR_CANNOT_MAKE
    {86, FileErrorCause::accessDenied},       // ERROR_INVALID_PASSWORD
    {88, FileErrorCause::hardIO},             // ERROR_NET_WRITE_FAULT
    {108, FileErrorCause::lockViolation},     // ERROR_DRIVE_LOCKED
    {110, FileErrorCause::fileNotFound},      // ERROR_OPEN_FAILED
    {111, FileErrorCause::badPath},           // ERROR_BUFFER_OVERFLOW
    {112, FileErrorCause::diskFull},          // ERROR_DISK_FULL
    {113, FileErrorCause::tooManyOpenFiles},  // ERROR_NO_MORE_SEARCH_HANDLES
    {123, FileErrorCause::badPath},           // ERROR_INVALID_NAME
    {131, FileErrorCause::badSeek},           // ERROR_NEGATIVE_SEEK
    {132, FileErrorCause::badSeek},           // ERROR_SEEK_ON_DEVICE
    {161, FileErrorCause::badPath},           // ERROR_BAD_PATHNAME
    {167, FileErrorCause::lockViolation},     // ERROR_LOCK_FAILED
    {183, FileErrorCause::accessDenied},      // ERROR_ALREADY_EXISTS
    {206, FileErrorCause::badPath},           // ERROR_FILENAME_EXCED_RANGE
    {267, FileErrorCause::badPath},           // ERROR_DIRECTORY
    {1117, FileErrorCause::hardIO},           // ERROR_IO_DEVICE
    {1167, FileErrorCause::hardIO},           // ERROR_DEVICE_NOT_CONNECTED
    {1224, FileErrorCause::sharingViolation}, // ERROR_USER_MAPPED_FILE
    {1295, FileErrorCause::diskFull},         // ERROR_DISK_QUOTA_EXCEEDED
};

// Each text has one %1, where the file's name goes.
const char* textOf(FileErrorCause cause)
{
    switch (cause) {
    case FileErrorCause::fileNotFound: return "%1 was not found.";
    case FileErrorCause::badPath: return "%1 contains an invalid path.";
    case FileErrorCause::tooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case FileErrorCause::accessDenied: return "Access to %1 was denied.";
    case FileErrorCause::invalidFile: return "An invalid file handle was associated with %1.";
    case FileErrorCause::removeCurrentDir:
        return "%1 could not be removed because it is the current directory.";
    case FileErrorCause::directoryFull:
        return "%1 could not be created because the directory is full.";
    case FileErrorCause::badSeek: return "Seek failed on %1.";
    case FileErrorCause::hardIO: return "A hardware I/O error was reported while accessing %1.";
    case FileErrorCause::sharingViolation:
        return "A sharing violation occurred while accessing %1.";
    case FileErrorCause::lockViolation: return "A locking violation occurred while accessing %1.";
    case FileErrorCause::diskFull: return "Disk full while accessing %1.";
    case FileErrorCause::endOfFile: return "An attempt was made to access %1 past its end.";
    case FileErrorCause::generic: break;
    }
    return "An unexpected error occurred while accessing %1.";
}

} // namespace

FileErrorCause fileErrorCauseOf(unsigned long systemCode)
{
    for (const CodeCause& row : codeCauses) {
        if (row.code == systemCode)
            return row.cause;
    }
    return FileErrorCause::generic;
}

std::string fileErrorText(FileErrorCause cause, const std::string& fileName)
{
    std::string text = textOf(cause);
    const std::string name = fileName.empty() ? std::string("an unnamed file") : fileName;
    // Only the first %1 is replaced, and the name is inserted once: a "%1" inside a file name
    // stays as it is.
    std::string::size_type at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

// File-error texts and the Win32 codes that lead to them.

#include "engine/FileError.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct CodeRow {
    unsigned long code;
    const char* expected; // with the name C:\b.tlx
};

class FileErrorFromCode : public ::testing::TestWithParam<CodeRow> {};

TEST_P(FileErrorFromCode, NamesTheFile)
{
    EXPECT_EQ(fileErrorText(fileErrorCauseOf(GetParam().code), "C:\\b.tlx"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FileErrorFromCode,
    ::testing::Values(
        CodeRow{112, "Disk full while accessing C:\\b.tlx."},
        CodeRow{39, "Disk full while accessing C:\\b.tlx."},
        CodeRow{1295, "Disk full while accessing C:\\b.tlx."},
        CodeRow{5, "Access to C:\\b.tlx was denied."},
        CodeRow{19, "Access to C:\\b.tlx was denied."},
        CodeRow{32, "A sharing violation occurred while accessing C:\\b.tlx."},
        CodeRow{33, "A locking violation occurred while accessing C:\\b.tlx."},
        CodeRow{3, "C:\\b.tlx contains an invalid path."},
        CodeRow{123, "C:\\b.tlx contains an invalid path."},
        CodeRow{2, "C:\\b.tlx was not found."},
        CodeRow{4, "C:\\b.tlx could not be opened because there are too many open files."},
        CodeRow{23, "A hardware I/O error was reported while accessing C:\\b.tlx."},
        CodeRow{38, "An attempt was made to access C:\\b.tlx past its end."},
        CodeRow{0, "An unexpected error occurred while accessing C:\\b.tlx."},
        CodeRow{87, "An unexpected error occurred while accessing C:\\b.tlx."},
        CodeRow{0xFFFFFFFFul, "An unexpected error occurred while accessing C:\\b.tlx."}));

TEST(FileErrorText, UnnamedFileAndNamesThatLookLikePlaceholders)
{
    EXPECT_EQ(fileErrorText(FileErrorCause::endOfFile, ""),
              "An attempt was made to access an unnamed file past its end.");
    EXPECT_EQ(fileErrorText(FileErrorCause::diskFull, "C:\\%1\\x.tlx"),
              "Disk full while accessing C:\\%1\\x.tlx.");
}

TEST(FileErrorText, EveryCauseHasItsOwnTextWithTheName)
{
    const FileErrorCause all[] = {
        FileErrorCause::generic,          FileErrorCause::fileNotFound,
        FileErrorCause::badPath,          FileErrorCause::tooManyOpenFiles,
        FileErrorCause::accessDenied,     FileErrorCause::invalidFile,
        FileErrorCause::removeCurrentDir, FileErrorCause::directoryFull,
        FileErrorCause::badSeek,          FileErrorCause::hardIO,
        FileErrorCause::sharingViolation, FileErrorCause::lockViolation,
        FileErrorCause::diskFull,         FileErrorCause::endOfFile};
    std::set<std::string> seen;
    for (FileErrorCause cause : all) {
        std::string text = fileErrorText(cause, "NAME");
        EXPECT_NE(text.find("NAME"), std::string::npos) << text;
        EXPECT_EQ(text.find("%1"), std::string::npos) << text;
        EXPECT_TRUE(seen.insert(text).second) << "repeated: " << text;
    }
}

} // namespace

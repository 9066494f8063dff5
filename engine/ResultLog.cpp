// Result list line formats. "roolback" is the word the result logs have always carried;
// saved logs and whatever reads them rely on it, so it stays.

#include "engine/ResultLog.h"

namespace {

void appendLine(std::string& report, const std::string& first, const char* middle,
                const std::string& last)
{
    report += first;
    report += middle;
    report += last;
    report += "\r\n";
}

} // namespace

void appendPreviewLine(std::string& report, const std::string& oldPath, const std::string& newPath)
{
    appendLine(report, oldPath, "  will be changed to  ", newPath);
}

void appendRenamedLine(std::string& report, const std::string& oldPath, const std::string& newPath)
{
    appendLine(report, oldPath, "  has been changed to  ", newPath);
}

void appendRenameFailedLine(std::string& report, const std::string& oldPath,
                            const std::string& newPath)
{
    appendLine(report, oldPath, " change failed with  ", newPath);
}

void appendNotChangedLine(std::string& report, const std::string& path)
{
    report += path;
    report += "  not changed\r\n";
}

void appendRollbackLine(std::string& report, const std::string& journalPath,
                        const std::string& fileListLine)
{
    appendLine(report, journalPath, "  roolback to ", fileListLine);
}

void appendRollbackFailedLine(std::string& report, const std::string& journalPath,
                              const std::string& fileListLine)
{
    appendLine(report, journalPath, "  roolback failed with  ", fileListLine);
}

// The report-building loops of the three runs.

#include "engine/RenameRun.h"

#include "engine/NewPath.h"
#include "engine/ResultLog.h"

namespace {

// Room for the longest line of a run: both paths and the longest fixed text. Reserving
// it up front keeps a 100,000-file report from being copied on every growth step.
std::size_t reportEstimate(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::size_t total = 0;
    for (const std::string& s : a)
        total += 2 * s.size() + 32;
    for (const std::string& s : b)
        total += s.size();
    return total;
}

} // namespace

std::string runRenameRules(bool renameOnDisk, const std::vector<std::string>& fileLines,
                           const NewPathComputer& computer, PathMover* mover,
                           RenameJournal& journal)
{
    journal.assign(fileLines);
    journal.startOutcomes();
    std::string report;
    report.reserve(reportEstimate(fileLines, {}));
    for (std::size_t i = 0; i < journal.size(); ++i) {
        const std::string& oldPath = journal[i];
        std::string newPath = computer.compute(oldPath, static_cast<int>(i + 1));
        if (newPath == oldPath) {
            appendNotChangedLine(report, oldPath);
            continue;
        }
        // A rename never takes a file out of its folder: a name that is not one is not
        // tried, and a preview shows the failure the rename would report.
        if (!computer.isPlainRename(oldPath, newPath)) {
            appendRenameFailedLine(report, oldPath, newPath);
        } else if (!renameOnDisk) {
            appendPreviewLine(report, oldPath, newPath);
        } else if (mover && mover->move(oldPath, newPath)) {
            appendRenamedLine(report, oldPath, newPath);
            journal.markMoved(i);
        } else {
            appendRenameFailedLine(report, oldPath, newPath);
        }
        journal.set(i, std::move(newPath));
    }
    return report;
}

std::string runUndo(const RenameJournal& journal, const std::vector<std::string>& fileLines,
                    PathMover& mover)
{
    std::string report;
    report.reserve(reportEstimate(journal.paths(), fileLines));
    for (std::size_t i = 0; i < journal.size() && i < fileLines.size(); ++i) {
        const std::string& entry = journal[i];
        const std::string& target = fileLines[i];
        if (entry == target)
            appendNotChangedLine(report, entry);
        else if (!journal.mayMoveBack(i))
            appendRollbackFailedLine(report, entry, target);
        else if (mover.move(entry, target))
            appendRollbackLine(report, entry, target);
        else
            appendRollbackFailedLine(report, entry, target);
    }
    return report;
}

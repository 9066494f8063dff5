// Preview, rename and undo runs against a model of a folder: the report lines byte for
// byte, the journal, and what ends up where.

#include "base/CodePage.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "engine/ResultLog.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Files by name, compared without regard to letter case like the Windows file systems;
// a move fails when the source is missing or the target name is taken by another file.
class FolderModel final : public PathMover {
public:
    explicit FolderModel(std::vector<std::string> names)
    {
        for (const std::string& n : names)
            files_[fold(n)] = {n, "content of " + n};
    }

    bool move(const std::string& from, const std::string& to) override
    {
        ++moves;
        auto source = files_.find(fold(from));
        if (source == files_.end() || to.empty() || to.back() == '\\')
            return false;
        if (fold(from) != fold(to) && files_.count(fold(to)))
            return false;
        Entry e = source->second;
        files_.erase(source);
        e.name = to;
        files_[fold(to)] = e;
        return true;
    }

    // Every name with its content, sorted.
    std::map<std::string, std::string> listing() const
    {
        std::map<std::string, std::string> out;
        for (const auto& f : files_)
            out[f.second.name] = f.second.content;
        return out;
    }

    int moves = 0;

private:
    struct Entry {
        std::string name;
        std::string content;
    };
    static std::string fold(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        return s;
    }
    std::map<std::string, Entry> files_;
};

const FixedClock clock2003(2003, 5, 7);

std::string run(bool renameOnDisk, const std::vector<std::string>& lines,
                const std::vector<std::string>& rules, PathMover* mover, RenameJournal& journal)
{
    const NewPathComputer computer(rules, modelCodePage(1252), clock2003);
    return runRenameRules(renameOnDisk, lines, computer, mover, journal);
}

TEST(ResultLogLines, AreWrittenByteForByte)
{
    std::string r;
    appendPreviewLine(r, "C:\\a", "C:\\b");
    appendRenamedLine(r, "C:\\a", "C:\\b");
    appendRenameFailedLine(r, "C:\\a", "C:\\b");
    appendNotChangedLine(r, "C:\\a");
    appendRollbackLine(r, "C:\\b", "C:\\a");
    appendRollbackFailedLine(r, "C:\\b", "C:\\a");
    EXPECT_EQ(r, "C:\\a  will be changed to  C:\\b\r\n"
                 "C:\\a  has been changed to  C:\\b\r\n"
                 "C:\\a change failed with  C:\\b\r\n"
                 "C:\\a  not changed\r\n"
                 "C:\\b  roolback to C:\\a\r\n"
                 "C:\\b  roolback failed with  C:\\a\r\n");
}

TEST(RunPreview, ReportsEveryFileInListOrderAndMovesNothing)
{
    FolderModel folder({"D:\\a.txt", "D:\\b.txt", "D:\\c.txt"});
    RenameJournal journal;
    journal.assign({"left over"});
    const std::string report =
        run(false, {"D:\\a.txt", "D:\\b.txt", "D:\\c.txt"}, {"FILENAME REPLACE \"b\" with \"x\""},
            &folder, journal);
    EXPECT_EQ(report, "D:\\a.txt  not changed\r\n"
                      "D:\\b.txt  will be changed to  D:\\x.txt\r\n"
                      "D:\\c.txt  not changed\r\n");
    EXPECT_EQ(journal.paths(), (std::vector<std::string>{"D:\\a.txt", "D:\\x.txt", "D:\\c.txt"}));
    EXPECT_EQ(folder.moves, 0);
    // A preview needs no mover at all.
    EXPECT_EQ(run(false, {"D:\\b.txt"}, {"FILENAME REPLACE \"b\" with \"x\""}, nullptr, journal),
              "D:\\b.txt  will be changed to  D:\\x.txt\r\n");
}

TEST(RunPreview, PositionCountsUnchangedFilesAndCaseOnlyIsAChange)
{
    RenameJournal journal;
    const std::string report =
        run(false, {"a.TXT", "b.txt", "c"}, {"FILEEXT LOWERCASE all", "FILENAME SUFFIX digit length:1"},
            nullptr, journal);
    EXPECT_EQ(report, "a.TXT  will be changed to  a1.txt\r\n"
                      "b.txt  will be changed to  b2.txt\r\n"
                      "c  will be changed to  c3\r\n");
    const std::string caseOnly = run(false, {"D:\\a.TXT"}, {"FILEEXT LOWERCASE all"}, nullptr, journal);
    EXPECT_EQ(caseOnly, "D:\\a.TXT  will be changed to  D:\\a.txt\r\n");
}

TEST(RunRename, FailuresKeepTheirComputedPathInTheJournal)
{
    // b and c both compute x.txt; d's target is taken by an unrelated file; e is missing;
    // f's new name is empty.
    FolderModel folder({"D:\\b.txt", "D:\\c.txt", "D:\\d.txt", "D:\\y.txt", "D:\\f", "D:\\ok.txt"});
    RenameJournal journal;
    const std::vector<std::string> lines = {"D:\\b.txt", "D:\\c.txt", "D:\\d.txt", "D:\\e.txt",
                                            "D:\\f", "D:\\ok.txt"};
    const std::vector<std::string> rules = {"FILENAME REPLACE \"b\" with \"x\"",
                                            "FILENAME REPLACE \"c\" with \"x\"",
                                            "FILENAME REPLACE \"d\" with \"y\"",
                                            "FILENAME REPLACE \"e\" with \"z\"",
                                            "FILENAME REPLACE \"f\" with \"\""};
    const std::string report = run(true, lines, rules, &folder, journal);
    EXPECT_EQ(report, "D:\\b.txt  has been changed to  D:\\x.txt\r\n"
                      "D:\\c.txt change failed with  D:\\x.txt\r\n"
                      "D:\\d.txt change failed with  D:\\y.txt\r\n"
                      "D:\\e.txt change failed with  D:\\z.txt\r\n"
                      "D:\\f change failed with  D:\\\r\n"
                      "D:\\ok.txt  not changed\r\n");
    EXPECT_EQ(journal.paths(), (std::vector<std::string>{"D:\\x.txt", "D:\\x.txt", "D:\\y.txt",
                                                         "D:\\z.txt", "D:\\", "D:\\ok.txt"}));
    const auto after = folder.listing();
    EXPECT_EQ(after.size(), 6u);
    EXPECT_EQ(after.at("D:\\x.txt"), "content of D:\\b.txt");
    EXPECT_EQ(after.at("D:\\c.txt"), "content of D:\\c.txt");
    EXPECT_EQ(after.at("D:\\y.txt"), "content of D:\\y.txt");

    // Undo: b comes back; the failed ones cannot move back and say so; ok is unchanged.
    const std::string undo = runUndo(journal, lines, folder);
    EXPECT_EQ(undo, "D:\\x.txt  roolback to D:\\b.txt\r\n"
                    "D:\\x.txt  roolback failed with  D:\\c.txt\r\n"
                    "D:\\y.txt  roolback failed with  D:\\d.txt\r\n"
                    "D:\\z.txt  roolback failed with  D:\\e.txt\r\n"
                    "D:\\  roolback failed with  D:\\f\r\n"
                    "D:\\ok.txt  not changed\r\n");
    EXPECT_EQ(folder.listing().at("D:\\b.txt"), "content of D:\\b.txt");
    EXPECT_EQ(folder.listing().size(), 6u);
    // The journal is left holding the new paths.
    EXPECT_EQ(journal[0], "D:\\x.txt");
}

TEST(RunRename, SecondRunFromTheOldPathsFailsForMovedFiles)
{
    FolderModel folder({"D:\\a.txt", "D:\\b.txt"});
    RenameJournal journal;
    const std::vector<std::string> lines = {"D:\\a.txt", "D:\\b.txt"};
    const std::vector<std::string> rules = {"FILENAME REPLACE \"a\" with \"n\""};
    EXPECT_EQ(run(true, lines, rules, &folder, journal),
              "D:\\a.txt  has been changed to  D:\\n.txt\r\n"
              "D:\\b.txt  not changed\r\n");
    EXPECT_EQ(run(true, lines, rules, &folder, journal),
              "D:\\a.txt change failed with  D:\\n.txt\r\n"
              "D:\\b.txt  not changed\r\n");
    EXPECT_EQ(folder.listing().size(), 2u);
    EXPECT_EQ(folder.listing().count("D:\\n.txt"), 1u);
}

TEST(RunUndo, PassesOverEntriesBeyondTheFileListAndMovesInListOrder)
{
    // Swapping two names through a third: undo in list order, not reversed.
    class Recorder final : public PathMover {
    public:
        std::vector<std::string> log;
        bool move(const std::string& from, const std::string& to) override
        {
            log.push_back(from + ">" + to);
            return true;
        }
    } mover;
    RenameJournal journal;
    journal.assign({"n1", "same", "n3", "extra"});
    const std::string undo = runUndo(journal, {"o1", "same", "o3"}, mover);
    EXPECT_EQ(undo, "n1  roolback to o1\r\nsame  not changed\r\nn3  roolback to o3\r\n");
    EXPECT_EQ(mover.log, (std::vector<std::string>{"n1>o1", "n3>o3"}));

    // A journal shorter than the file list (a loaded batch may hold any counts).
    mover.log.clear();
    journal.assign({"n1"});
    EXPECT_EQ(runUndo(journal, {"o1", "o2"}, mover), "n1  roolback to o1\r\n");
    journal.clear();
    EXPECT_EQ(runUndo(journal, {"o1"}, mover), "");
}

TEST(RunRename, NamesThatAreNotNamesAreNeverTried)
{
    struct Row {
        int codePage;
        const char* rule;
        std::string oldPath;
        std::string newPath;
        bool plain;
    };
    const Row rows[] = {
        {1252, "FILENAME REPLACE \"a\" with \"..\\moved\"", "D:\\sub\\a.txt", "D:\\sub\\..\\moved.txt", false},
        {1252, "FILENAME PREFIX \"x/\"", "D:\\sub\\a.txt", "D:\\sub\\x/a.txt", false},
        {1252, "FILENAME REPLACE \"a\" with \".\"", "D:\\sub\\a", "D:\\sub\\.", false},
        {1252, "FILENAME REPLACE \"a\" with \"..\"", "D:\\sub\\a", "D:\\sub\\..", false},
        {1252, "FILENAME REPLACE \"a\" with \".. \"", "D:\\sub\\a", "D:\\sub\\.. ", false},
        {1252, "FILENAME REMOVE all", "D:\\sub\\a", "D:\\sub\\", false},
        {1252, "FILENAME REPLACE \"a\" with \"..b\"", "D:\\sub\\a", "D:\\sub\\..b", true},
        // A trail byte 0x5C of a double-byte character is not a separator.
        {932, "FILENAME PREFIX \"\x95\x5C\"", "D:\\sub\\a.txt", "D:\\sub\\\x95\x5C" "a.txt", true},
    };
    for (const Row& row : rows) {
        const NewPathComputer computer({row.rule}, modelCodePage(row.codePage), clock2003);
        EXPECT_EQ(computer.compute(row.oldPath, 1), row.newPath) << row.rule;
        EXPECT_EQ(computer.isPlainRename(row.oldPath, row.newPath), row.plain) << row.rule;
    }

    // Preview shows the failure the rename reports, and nothing is moved.
    FolderModel folder({"D:\\sub\\a.txt"});
    RenameJournal journal;
    const std::vector<std::string> lines = {"D:\\sub\\a.txt"};
    const std::vector<std::string> rules = {rows[0].rule};
    const std::string failed = "D:\\sub\\a.txt change failed with  D:\\sub\\..\\moved.txt\r\n";
    EXPECT_EQ(run(false, lines, rules, &folder, journal), failed);
    EXPECT_EQ(run(true, lines, rules, &folder, journal), failed);
    EXPECT_EQ(folder.moves, 0);
}

TEST(RunUndo, MovesBackOnlyWhatTheLastRunMoved)
{
    // The first run moves IMG to 2003_IMG; the second aims IMG (gone) at the name of an
    // unrelated file, 2003_DSC, and fails, and moves b. Undo must leave 2003_DSC alone.
    FolderModel folder({"D:\\IMG_0001.jpg", "D:\\2003_DSC_0001.jpg", "D:\\b.jpg"});
    RenameJournal journal;
    const std::vector<std::string> lines = {"D:\\IMG_0001.jpg", "D:\\b.jpg"};
    run(true, lines, {"FILENAME REPLACE \"IMG\" with \"2003_IMG\""}, &folder, journal);
    ASSERT_EQ(folder.listing().count("D:\\2003_IMG_0001.jpg"), 1u);
    run(true, lines, {"FILENAME REPLACE \"IMG\" with \"2003_DSC\"", "FILENAME REPLACE \"b\" with \"c\""},
        &folder, journal);
    const int movesBefore = folder.moves;
    EXPECT_EQ(runUndo(journal, lines, folder),
              "D:\\2003_DSC_0001.jpg  roolback failed with  D:\\IMG_0001.jpg\r\n"
              "D:\\c.jpg  roolback to D:\\b.jpg\r\n");
    EXPECT_EQ(folder.moves, movesBefore + 1);
    EXPECT_EQ(folder.listing().count("D:\\2003_DSC_0001.jpg"), 1u);

    // A loaded journal carries no outcomes: every entry is tried, as before.
    journal.assign({"D:\\2003_DSC_0001.jpg"});
    EXPECT_EQ(runUndo(journal, {"D:\\IMG_0001.jpg"}, folder),
              "D:\\2003_DSC_0001.jpg  roolback to D:\\IMG_0001.jpg\r\n");
}

TEST(RunPreview, LargeListBuildsOneLinePerFile)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 20000; ++i)
        lines.push_back("C:\\folder\\file" + std::to_string(i) + ".jpg");
    RenameJournal journal;
    const std::string report = run(false, lines, {"FILENAME PREFIX digit length:5"}, nullptr, journal);
    std::size_t count = 0;
    for (std::size_t at = report.find("\r\n"); at != std::string::npos; at = report.find("\r\n", at + 2))
        ++count;
    EXPECT_EQ(count, lines.size());
    EXPECT_EQ(journal[19999], "C:\\folder\\20000file19999.jpg");
}

} // namespace

// Win32 figures for batch files and the selection commands on 100,000 lines: save (lines
// collected from the list box, file written beside and put in place), load (file read,
// added paths replaced, list refilled), select all and invert in a real owner-drawn list box.

#include "bench/Bench.h"
#include "bench/Floors_win.h"

#include "controls/SkinListBox_win.h"
#include "engine/BatchFile.h"
#include "engine/BatchFile_win.h"
#include "base/CodePage.h"
#include "engine/RenameJournal.h"
#include "filelist/AddedPaths.h"
#include "controls/ListBoxes_win.h"
#include "filelist/LineSelection_win.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

LRESULT CALLBACK batchHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Owner-draw requests go to the list box's object, as the main window's dialog does.
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (Control* c = Control::fromChild(window, static_cast<int>(measure->CtlID)))
            if (c->measureItem(*measure))
                return TRUE;
    } else if (message == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (Control* c = Control::fromWindow(draw->hwndItem))
            if (c->drawItem(*draw))
                return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

using testsupport::pumpMessages;

// A shown window with the file list's and the rules list's styles and font.
class BatchListHost {
public:
    BatchListHost()
    {
        window_ = testsupport::createHostWindow("TesselBenchBatchHost", batchHostProc, 700, 400);
        font_ = testsupport::createDialogFont();
        files_ = makeList(1000, 10);
        rules_ = makeList(1006, 200);
        fileSkin_.attachList(files_);
        ruleSkin_.attachList(rules_);
        ShowWindow(window_, SW_SHOW);
        pumpMessages();
    }
    ~BatchListHost()
    {
        fileSkin_.detach();
        ruleSkin_.detach();
        DestroyWindow(window_);
        DeleteObject(font_);
    }
    HWND files() const { return files_; }
    HWND window() const { return window_; }
    HFONT font() const { return font_; }
    HWND rules() const { return rules_; }
    // What the main window's save takes: the lists' own copies of their lines.
    const std::vector<std::string>& fileLines() const { return fileSkin_.lines(); }
    const std::vector<std::string>& ruleLines() const { return ruleSkin_.lines(); }

private:
    HWND makeList(int id, int top)
    {
        HWND list = testsupport::createListBox(window_, id, testsupport::fileListStyles, 10, top, 660, 180);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        return list;
    }

    HWND window_ = nullptr;
    HWND files_ = nullptr;
    HWND rules_ = nullptr;
    HFONT font_ = nullptr;
    SkinListBox fileSkin_;
    SkinListBox ruleSkin_;
};

double msSince(double start)
{
    return (benchSeconds() - start) * 1000.0;
}

} // namespace

TESSEL_BENCH(BatchAndSelectionWin32)
{
    const int count = 100000;
    std::vector<std::string> paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i)
        paths.push_back("C:\\Users\\someone\\Pictures\\Holiday 2003\\Day " + std::to_string(i % 31) + "\\IMG_"
                        + std::to_string(100000 + i) + ".JPG");
    std::vector<std::string> journal;
    journal.reserve(count);
    for (const std::string& p : paths)
        journal.push_back(p.substr(0, p.size() - 4) + "_new.JPG");
    const std::vector<std::string> rules = {"FILENAME PREFIX digit length:5", "FILEEXT LOWERCASE"};

    BatchListHost host;
    PlainListBox plain(host.window(), host.font(), 1001);
    AddedPaths added;
    for (const std::string& p : paths)
        added.appendUnchecked(p);

    double start = benchSeconds();
    refillListBox(host.files(), paths);
    benchFigure("file list refill, 100,000 lines (redraw off)", msSince(start), "ms");
    refillListBox(host.rules(), rules);
    pumpMessages();

    start = benchSeconds();
    selectAllLines(host.files());
    const double selectMs = msSince(start);
    pumpMessages();
    benchFigure("select all, 100,000 lines", selectMs, "ms", "(goal < 300)");
    const LRESULT afterSelect = SendMessageA(host.files(), LB_GETSELCOUNT, 0, 0);

    start = benchSeconds();
    invertLineSelection(host.files());
    const double invertAllMs = msSince(start);
    pumpMessages();
    benchFigure("invert, 100,000 lines all selected", invertAllMs, "ms", "(goal < 300)");
    const LRESULT afterInvert = SendMessageA(host.files(), LB_GETSELCOUNT, 0, 0);

    // The worst case for runs: every other line selected.
    SendMessageA(host.files(), WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; i += 2)
        SendMessageA(host.files(), LB_SETSEL, TRUE, i);
    SendMessageA(host.files(), WM_SETREDRAW, TRUE, 0);
    start = benchSeconds();
    invertLineSelection(host.files());
    const double invertAlternateMs = msSince(start);
    pumpMessages();
    benchFigure("invert, 100,000 lines every other selected", invertAlternateMs, "ms", "(goal < 300)");
    const LRESULT afterAlternate = SendMessageA(host.files(), LB_GETSELCOUNT, 0, 0);
    if (afterSelect != count || afterInvert != 0 || afterAlternate != count / 2)
        std::printf("  selection counts wrong: %ld %ld %ld\n", static_cast<long>(afterSelect),
                    static_cast<long>(afterInvert), static_cast<long>(afterAlternate));

    // Remove select with every other line selected, then with all of them.
    start = benchSeconds();
    const std::size_t removedHalf = deleteSelectedLines(host.files(), host.fileLines()).size();
    benchFigure("remove select, 50,000 of 100,000 lines", msSince(start), "ms");
    selectAllLines(host.files());
    start = benchSeconds();
    const std::size_t removedRest = deleteSelectedLines(host.files(), host.fileLines()).size();
    benchFigure("remove select, all 50,000 lines", msSince(start), "ms");
    if (removedHalf != count / 2 || removedRest != count / 2)
        std::printf("  removal counts wrong: %u %u\n", static_cast<unsigned>(removedHalf),
                    static_cast<unsigned>(removedRest));
    refillListBox(host.files(), paths);

    const std::string file = testsupport::tempDirectory() + "tessel-bench-" + std::to_string(GetCurrentProcessId()) + ".tlx";

    for (bool withJournal : {false, true}) {
        const std::string label = withJournal ? " (with a journal of 100,000)" : " (no journal)";
        // Collected as the main window's save does: references to the lists' own texts.
        start = benchSeconds();
        BatchFileRefs refs;
        refs.addedPaths.reserve(added.size());
        for (const AddedPaths::Entry& entry : added)
            refs.addedPaths.push_back(entry.path());
        const double addedMs = msSince(start);
        refs.fileListLines = refsOf(host.fileLines());
        const std::vector<std::string> noJournal;
        refs.journalPaths = refsOf(withJournal ? journal : noJournal);
        refs.ruleLines = refsOf(host.ruleLines());
        refs.undoAvailable = true;
        const double collectMs = msSince(start);
        const double writeStart = benchSeconds();
        const FileOutcome saved = saveBatchFile(file, refs);
        const double writeMs = msSince(writeStart);
        // What the load must give back, taken before the load replaces the referenced lists.
        BatchFile expected;
        expected.addedPaths = std::vector<std::string>(refs.addedPaths.begin(), refs.addedPaths.end());
        expected.fileListLines = host.fileLines();
        if (withJournal)
            expected.journalPaths = journal;
        expected.ruleLines = host.ruleLines();
        expected.undoAvailable = true;
        benchFigure("batch save: collect the lists" + label, collectMs, "ms");
        benchFigure("  of which the added paths", addedMs, "ms");
        benchFigure("batch save: write beside and replace" + label, writeMs, "ms");
        benchFigure("batch save total" + label, collectMs + writeMs, "ms", "(goal <= 50)");

        // The load as the main window does it: file read and decoded, added paths
        // replaced, journal taken over, both lists refilled.
        const std::vector<std::string> linesBefore = host.fileLines();
        start = benchSeconds();
        BatchFile loaded;
        const FileOutcome read = loadBatchFile(file, loaded);
        const double readMs = msSince(start);
        const double replaceStart = benchSeconds();
        added.replaceAll(loaded.addedPaths);
        RenameJournal loadedJournal;
        loadedJournal.assign(std::move(loaded.journalPaths));
        const double replaceMs = msSince(replaceStart);
        const double refillStart = benchSeconds();
        refillListBox(host.files(), loaded.fileListLines);
        refillListBox(host.rules(), loaded.ruleLines);
        const double refillMs = msSince(refillStart);
        const double loadMs = msSince(start);
        pumpMessages();

        // The floor: the file's bytes read whole, decoded in memory, and a plain list box
        // refilled with the same lines from as many.
        start = benchSeconds();
        const std::string bytes = readWholeFile(file);
        const double bareReadMs = msSince(start);
        start = benchSeconds();
        BatchFile decoded;
        decodeBatchFile(bytes, systemCodePage(), decoded);
        const double decodeMs = msSince(start);
        const PlainListBox::Refill plainRefill =
            medianRefill(plain, viewsOf(linesBefore), viewsOf(decoded.fileListLines));
        const double floorMs = bareReadMs + decodeMs + plainRefill.totalMs();

        benchAgainstFloor("batch load: read, replace, refill" + label, loadMs, floorMs, "ms", "x <= 1.3");
        benchAgainstFloor("  of which reading and decoding the file", readMs, bareReadMs + decodeMs, "ms");
        benchFigure("  of which replacing the added paths and the journal", replaceMs, "ms");
        benchAgainstFloor("  of which the list refill", refillMs, plainRefill.totalMs(), "ms");
        benchFigure("  floor: read the file whole", bareReadMs, "ms");
        benchFigure("  floor: decode it in memory", decodeMs, "ms");
        benchFigure("  floor: plain list box refill", plainRefill.totalMs(), "ms");
        loaded.journalPaths = loadedJournal.paths();
        if (saved.kind != FileOutcome::done || read.kind != FileOutcome::done || !(loaded == expected) ||
            !(decoded == expected))
            std::printf("  save or load failed\n");
    }
    DeleteFileA(file.c_str());
}

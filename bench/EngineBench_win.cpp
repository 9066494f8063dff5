// Win32 figures for the rename engine: a preview of 100,000 files against the cost of
// showing its report in a multi-line edit, and a rename run against a bare MoveFileA loop.

#include "bench/Bench.h"

#include "base/CodePage.h"
#include "engine/MoveSteps_win.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"
#include "win/ControlText.h"

#include "tests/support/TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ansiListBoxLines(HWND listBox)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    lines.reserve(static_cast<std::size_t>(count));
    std::string buffer;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
        const LRESULT copied = SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(i),
                                            reinterpret_cast<LPARAM>(&buffer[0]));
        lines.emplace_back(buffer.data(), static_cast<std::size_t>(copied));
    }
    return lines;
}

HWND makeChild(HWND parent, const char* cls, DWORD style)
{
    return CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 600, 200, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

} // namespace

TESSEL_BENCH(EnginePreviewIntoResultList)
{
    // The same kinds of windows as the main window's file list, rules list and result list,
    // shown as they are in the program.
    HWND parent = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND files = makeChild(parent, "LISTBOX", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL);
    HWND rules = makeChild(parent, "LISTBOX", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL);
    const DWORD editStyles = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER;
    HWND result = makeChild(parent, "EDIT", editStyles | WS_VISIBLE);
    ShowWindow(parent, SW_SHOW);
    SendMessageA(files, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < 100000; ++i) {
        const std::string path = "C:\\Photos\\Holiday_2003\\IMG_" + std::to_string(10000 + i) + " (1).JPG";
        SendMessageA(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    for (const std::string& rule : benchTypicalRules())
        SendMessageA(rules, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rule.c_str()));

    // The program's own work: read both lists, compute every name, build the report, and
    // set it into the visible result edit as the preview does.
    const double start = benchSeconds();
    const std::vector<std::string> lines = ansiListBoxLines(files);
    const NewPathComputer computer(ansiListBoxLines(rules), systemCodePage(), systemLocalClock());
    RenameJournal journal;
    const std::string report = runRenameRules(false, lines, computer, nullptr, journal);
    const double own = benchSeconds() - start;

    // Setting it into the visible result edit as the preview does, against the floor: a
    // bare edit of the same styles, never shown, taking the same text. The two take turns
    // in fresh edits, so that both see the same load.
    std::vector<double> sets, floors;
    int shownLength = 0;
    for (int round = 0; round < 2; ++round) {
        HWND bare = makeChild(parent, "EDIT", editStyles);
        SendMessageA(bare, EM_SETLIMITTEXT, 0, 0);
        double t0 = benchSeconds();
        SendMessageA(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report.c_str()));
        floors.push_back(benchSeconds() - t0);
        DestroyWindow(bare);

        HWND shown = round == 0 ? result : makeChild(parent, "EDIT", editStyles | WS_VISIBLE);
        t0 = benchSeconds();
        setLongEditText(shown, report);
        sets.push_back(benchSeconds() - t0);
        shownLength = GetWindowTextLengthA(shown);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DestroyWindow(shown);
    }
    const double set = std::min(sets[0], sets[1]);
    const double floor = std::min(floors[0], floors[1]);
    benchAgainstFloor("preview 100,000 files, report shown (best of 2)", (own + set) * 1e3, floor * 1e3, "ms",
                      "x <= 1.1");
    benchFigure("  of which own work (lists, names, report)", own * 1e3, "ms");
    benchFigure("  floor: a bare edit's WM_SETTEXT of the report (best of 2)", floor * 1e3, "ms");
    benchFigure("report size", report.size() / 1e6, "MB");
    if (shownLength != static_cast<int>(report.size()))
        std::printf("  the edit holds %d of %u characters\n", shownLength, static_cast<unsigned>(report.size()));
    DestroyWindow(parent);
}

namespace {

std::string benchFolder()
{
    return testsupport::tempDirectory() + "tessel-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
}

std::string numbered(const std::string& folder, const char* stem, int i)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%05d.dat", stem, i);
    return folder + name;
}

} // namespace

TESSEL_BENCH(EngineRenameRunAgainstMoveFile)
{
    // Every file is moved twice, a -> b and b -> c, once by a bare MoveFileA and once by a
    // rename run, in chunks that alternate which of the two goes first: the folder keeps
    // its 2,000 entries throughout, and both sides see the same machine load.
    const int count = 2000;
    const int chunk = 100;
    const std::string folder = benchFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        HANDLE h = CreateFileA(numbered(folder, "a", i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(h);
    }

    double bare = 0;
    double run = 0;
    int bareMoved = 0;
    int runMoved = 0;
    const char* stems[] = {"a", "b", "c"};
    for (int first = 0; first < count; first += chunk) {
        const bool bareFirst = (first / chunk) % 2 == 0;
        for (int step = 0; step < 2; ++step) {
            const char* from = stems[step];
            const char* to = stems[step + 1];
            const double start = benchSeconds();
            if ((step == 0) == bareFirst) {
                for (int i = first; i < first + chunk; ++i)
                    bareMoved += MoveFileA(numbered(folder, from, i).c_str(), numbered(folder, to, i).c_str()) ? 1 : 0;
                bare += benchSeconds() - start;
            } else {
                std::vector<std::string> lines;
                for (int i = first; i < first + chunk; ++i)
                    lines.push_back(numbered(folder, from, i));
                const NewPathComputer computer({std::string("FILENAME REPLACE \"") + from + "\" with \"" + to + "\""},
                                               systemCodePage(), systemLocalClock());
                DiskMover mover;
                RenameJournal journal;
                const std::string report = runRenameRules(true, lines, computer, &mover, journal);
                run += benchSeconds() - start;
                for (std::size_t at = report.find("has been"); at != std::string::npos; at = report.find("has been", at + 1))
                    ++runMoved;
            }
        }
    }

    benchFigure("bare MoveFileA loop, 2,000 files in a folder of 2,000", count / bare, "files/s");
    benchFigure("rename run, 2,000 files in a folder of 2,000", count / run, "files/s");
    benchFigure("rename run rate / bare MoveFileA rate", 100.0 * bare / run, "%", "(goal >= 75 %)");
    if (bareMoved != count || runMoved != count)
        std::printf("  moved %d (bare) and %d (run) of %d\n", bareMoved, runMoved, count);

    // Each step of the run on its own, over the same 2,000 files in the same folder.
    const double moveUs = bare * 1e6 / count;
    const double runUs = run * 1e6 / count;
    auto perFile = [&](auto step) {
        const double start = benchSeconds();
        for (int i = 0; i < count; ++i)
            step(numbered(folder, "c", i));
        return (benchSeconds() - start) * 1e6 / count;
    };
    FileStatus status;
    const double searchUs = perFile([&](const std::string& p) { searchFileStatus(p, status); });
    const double directUs = perFile([&](const std::string& p) { readFileStatus(p, status); });
    const double attributesUs = perFile([](const std::string& p) { GetFileAttributesA(p.c_str()); });
    const double timesUs = perFile([&](const std::string& p) {
        HANDLE file = CreateFileA(p.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            SetFileTime(file, &status.created, &status.accessed, &status.written);
            CloseHandle(file);
        }
    });
    const double clearUs = perFile([](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL); });
    // What the goal leaves for everything but the move: a run at 75 % of the bare rate
    // takes 4/3 of the bare time.
    const double allowedUs = moveUs / 3;
    std::printf("  per file, in a folder of 2,000 (the goal leaves %.1f us beside the move):\n", allowedUs);
    benchFigure("  the move: MoveFileA", moveUs, "us");
    benchFigure("  rename run, all steps", runUs, "us");
    struct Step {
        const char* label;
        double us;
        bool inRun;
    };
    const Step steps[] = {
        {"  status through a file search (FindFirstFileA), as before", searchUs, false},
        {"  status read directly (GetFileAttributesExA), as now", directUs, true},
        {"  attributes read (GetFileAttributesA)", attributesUs, true},
        {"  times written (CreateFileA, SetFileTime, CloseHandle)", timesUs, true},
        {"  attributes cleared (SetFileAttributesA)", clearUs, true},
    };
    double besideMove = 0;
    for (const Step& step : steps) {
        if (step.inRun)
            besideMove += step.us;
        benchFigure(step.label, step.us, "us",
                    step.us > allowedUs ? "(alone more than the goal leaves)" : "");
    }
    benchFigure("  the steps beside the move, summed", besideMove, "us",
                "(goal leaves " + std::to_string(static_cast<int>(allowedUs + 0.5)) + " us)");
    benchFigure("  best rate these steps allow / bare rate", 100.0 * moveUs / (moveUs + besideMove), "%");
    benchFigure("  status: file search / direct read", searchUs / directUs, "x");

    for (int i = 0; i < count; ++i)
        DeleteFileA(numbered(folder, "c", i).c_str());
    RemoveDirectoryA(folder.c_str());
}

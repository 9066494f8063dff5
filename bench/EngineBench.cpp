// Figures for the rename engine: one new name with typical rules, and a whole preview's
// report for a large file list.

#include "bench/Bench.h"

#include "base/CodePage.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> samplePaths(int count, const char* name = "IMG_")
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back("C:\\Documents and Settings\\user\\My Pictures\\Holiday_2003 (raw)\\" +
                        std::string(name) + std::to_string(10000 + i) + " (copy).JPG");
    return paths;
}

double secondsPerName(const std::vector<std::string>& paths, const CodePage& codePage)
{
    const NewPathComputer computer(benchTypicalRules(), codePage, systemLocalClock());
    const int rounds = 200;
    std::size_t sink = 0;
    const double start = benchSeconds();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < paths.size(); ++i)
            sink += computer.compute(paths[i], static_cast<int>(i + 1)).size();
    const double seconds = benchSeconds() - start;
    if (sink == 0)
        std::printf("  (no output)\n");
    return seconds / (rounds * paths.size());
}

} // namespace

TESSEL_BENCH(EngineComputeNewPath)
{
    benchFigure("computeNewPath, 5 typical rules", secondsPerName(samplePaths(1000), systemCodePage()) * 1e6,
                "us", "(goal <= 2 us per file under Wine)");
    // Names in Cyrillic, where UTF-8 counts and maps whole characters of two bytes.
    benchFigure("computeNewPath, 5 typical rules, Cyrillic names in UTF-8",
                secondsPerName(samplePaths(1000, "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE_"), modelCodePage(65001)) * 1e6,
                "us");
}

TESSEL_BENCH(EnginePreviewReport)
{
    const std::vector<std::string> paths = samplePaths(100000);
    const double start = benchSeconds();
    const NewPathComputer computer(benchTypicalRules(), systemCodePage(), systemLocalClock());
    RenameJournal journal;
    const std::string report = runRenameRules(false, paths, computer, nullptr, journal);
    const double seconds = benchSeconds() - start;
    benchFigure("preview of 100,000 files: rules, names and report", seconds * 1e3, "ms");
    benchFigure("preview report size", report.size() / 1e6, "MB");
}

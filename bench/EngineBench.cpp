// Figures for the rename engine: one new name with typical rules, and a whole preview's
// report for a large file list.

#include "bench/Bench.h"

#include "base/CodePage.h"
#include "engine/NewPath.h"
#include "engine/RenameRun.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> samplePaths(int count)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back("C:\\Documents and Settings\\user\\My Pictures\\Holiday_2003 (raw)\\IMG_" +
                        std::to_string(10000 + i) + " (copy).JPG");
    return paths;
}

} // namespace

TESSEL_BENCH(EngineComputeNewPath)
{
    const std::vector<std::string> paths = samplePaths(1000);
    const NewPathComputer computer(benchTypicalRules(), systemCodePage(), systemLocalClock());
    const int rounds = 200;
    std::size_t sink = 0;
    const double start = benchSeconds();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < paths.size(); ++i)
            sink += computer.compute(paths[i], static_cast<int>(i + 1)).size();
    const double seconds = benchSeconds() - start;
    benchFigure("computeNewPath, 5 typical rules", seconds * 1e6 / (rounds * paths.size()),
                "us", "(goal <= 2 us per file under Wine)");
    if (sink == 0)
        std::printf("  (no output)\n");
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

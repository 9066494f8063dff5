// Figures for the file list: adding with the duplicate rule, its memory, and the view.

#include "bench/Bench.h"

#include "filelist/AddedPaths.h"
#include "filelist/Filter.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <malloc.h>
#include <string>
#include <vector>

// While a measurement runs, every allocation of the benchmark program is counted so that
// the memory an entry costs is measured, not estimated: the usable size of each heap block,
// plus a flat 8 bytes per block for the heap's own header, which the allocator does not
// report. Outside a measurement nothing is counted, so other benchmarks run as usual.
namespace {
std::atomic<bool> counting{false};
std::atomic<long long> liveBytes{0};
std::atomic<long long> liveBlocks{0};
constexpr long long heapHeaderBytes = 8;

std::size_t blockSize(void* p)
{
#ifdef _WIN32
    return _msize(p);
#else
    return malloc_usable_size(p);
#endif
}
} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (counting.load(std::memory_order_relaxed)) {
        liveBytes += static_cast<long long>(blockSize(p));
        ++liveBlocks;
    }
    return p;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    if (counting.load(std::memory_order_relaxed)) {
        liveBytes -= static_cast<long long>(blockSize(p));
        --liveBlocks;
    }
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

std::vector<std::string> samplePaths(int count, const char* folder)
{
    std::vector<std::string> paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string p = folder;
        p += "\\Holiday ";
        p += std::to_string(2000 + i % 25);
        p += "\\IMG_";
        p += std::to_string(100000 + i);
        p += (i % 3 == 0) ? ".JPG" : (i % 3 == 1 ? ".jpg" : ".txt");
        paths.push_back(std::move(p));
    }
    return paths;
}

} // namespace

TESSEL_BENCH(FileListAddedPaths)
{
    const int n = 100000;
    const std::vector<std::string> paths = samplePaths(n, "C:\\Users\\Someone\\Pictures");
    const std::vector<std::string> more = samplePaths(10000, "D:\\Archive\\Scans");
    long long textBytes = 0;
    for (const std::string& p : paths)
        textBytes += static_cast<long long>(p.size());

    liveBytes = 0;
    liveBlocks = 0;
    counting = true;
    AddedPaths list;
    double t0 = benchSeconds();
    for (const std::string& p : paths)
        list.add(p);
    double t1 = benchSeconds();
    counting = false;
    const long long bytes = liveBytes.load();
    const long long blocks = liveBlocks.load();
    benchFigure("add 100,000 new paths, per path", (t1 - t0) * 1e6 / n, "us", "(goal <= 1)");
    benchFigure("memory per entry beyond the path text",
                static_cast<double>(bytes + blocks * heapHeaderBytes - textBytes) / n, "bytes",
                "(goal <= 400)");

    t0 = benchSeconds();
    for (const std::string& p : more)
        list.add(p);
    t1 = benchSeconds();
    benchFigure("add 10,000 new paths at 100,000 entries, per path",
                (t1 - t0) * 1e6 / more.size(), "us", "(goal <= 1)");

    // The same paths again in other letter case: each add removes its twin.
    std::vector<std::string> upper = paths;
    for (std::string& p : upper)
        for (char& c : p)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
    t0 = benchSeconds();
    for (const std::string& p : upper)
        list.add(p);
    t1 = benchSeconds();
    benchFigure("re-add 100,000 paths in other case at 110,000, per path", (t1 - t0) * 1e6 / n,
                "us", "(goal <= 1)");
    if (list.size() != paths.size() + more.size())
        std::printf("  unexpected size %zu\n", list.size());

    t0 = benchSeconds();
    for (int i = 0; i < n; i += 2)
        list.removeExact(upper[i]);
    t1 = benchSeconds();
    benchFigure("remove 50,000 paths by text, per path", (t1 - t0) * 1e6 / (n / 2), "us");
}

TESSEL_BENCH(FileListView)
{
    const int n = 100000;
    AddedPaths list;
    for (const std::string& p : samplePaths(n, "C:\\Users\\Someone\\Pictures"))
        list.add(p);
    struct Setting {
        const char* label;
        const char* filter;
        bool caseMatters;
        bool exclude;
    };
    const Setting settings[] = {
        {"view of 100,000, filter \"img_1\"", "img_1", false, false},
        {"view of 100,000, filter \"*.JPG\" Case", "*.JPG", true, false},
        {"view of 100,000, filter \"img*9.jpg\" Exclude", "img*9.jpg", false, true},
        {"view of 100,000, empty filter", "", false, false},
    };
    for (const Setting& s : settings) {
        const int rounds = 10;
        std::size_t shown = 0;
        const double t0 = benchSeconds();
        for (int r = 0; r < rounds; ++r)
            shown = fileListView(list, s.filter, s.caseMatters, s.exclude).size();
        const double t1 = benchSeconds();
        benchFigure(std::string(s.label) + " (" + std::to_string(shown) + " shown)",
                    (t1 - t0) * 1e3 / rounds, "ms");
    }
}

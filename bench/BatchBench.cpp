// Encoding and decoding a batch of 100,000 paths in memory: the codec's share of a save/load.

#include "bench/Bench.h"

#include "engine/BatchFile.h"
#include "base/CodePage.h"

namespace {

BatchFile bigBatch()
{
    BatchFile b;
    for (int i = 0; i < 100000; ++i) {
        std::string path = "C:\\Users\\someone\\Pictures\\Holiday 2003\\Day " + std::to_string(i % 31)
            + "\\IMG_" + std::to_string(100000 + i) + ".JPG";
        b.addedPaths.push_back(path);
        b.fileListLines.push_back(path);
        b.journalPaths.push_back(path + ".new");
    }
    b.ruleLines = {"FILENAME PREFIX digit length:5", "FILEEXT LOWERCASE"};
    b.undoAvailable = true;
    return b;
}

} // namespace

TESSEL_BENCH(BatchCodec100k)
{
    const BatchFile batch = bigBatch();
    std::string bytes;
    const int rounds = 5;
    double start = benchSeconds();
    for (int r = 0; r < rounds; ++r)
        bytes = encodeBatchFile(batch);
    double encodeMs = (benchSeconds() - start) * 1000.0 / rounds;

    BatchFile back;
    start = benchSeconds();
    for (int r = 0; r < rounds; ++r)
        decodeBatchFile(bytes, systemCodePage(), back);
    double decodeMs = (benchSeconds() - start) * 1000.0 / rounds;

    benchFigure("encode 100,000 paths x3 lists (" + std::to_string(bytes.size() / 1024) + " KiB)",
                encodeMs, "ms");
    benchFigure("decode 100,000 paths x3 lists", decodeMs, "ms");
    if (!(back == batch))
        std::printf("  decode did not give back what was encoded\n");
}

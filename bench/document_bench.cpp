// Opening a clone data file (scratch copy, parse, fix-up, image to tree) and saving one (tree to
// image, fix-up, CR LF file written and renamed): the whole document operations.
#include "app/clone_support_doc.h"
#include "core/platform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {
std::string TempFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}
} // namespace

static void BM_OpenDocument(benchmark::State& state) {
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    const std::string path = TempFile("kt_bench_open.hxq");
    doc.DoSave(path);
    for (auto _ : state)
        doc.LoadFile(path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMicrosecond);

static void BM_SaveDocument(benchmark::State& state) {
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    const std::string path = TempFile("kt_bench_save.hxq");
    for (auto _ : state)
        doc.DoSave(path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

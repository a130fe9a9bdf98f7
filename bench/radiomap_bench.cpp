// Image to tree and tree to image of a whole image (targets: under 2 ms and under 1 ms).
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "radiomap/radio_data_manager.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<CZ30CloneManager> MakeHub(int variant) {
    auto hub = std::make_unique<CZ30CloneManager>();
    hub->SetManagers(new CZ30EepromDataManager, new CZ30DefaultDataManager, nullptr,
                     new CZ30RadioDataManager, new CZ30ModelManager, nullptr, nullptr);
    hub->Init();
    hub->GetModelManager()->SetVariant(variant, false);
    hub->ResetToDefaults();
    // Every channel switched on, so that the whole record codec runs.
    CByteImage& image = *hub->GetImage();
    for (std::uint32_t n = 0; n < 36; ++n)
        image.WriteByte(0x200 + 20 * n, 0x14);
    hub->ImageToTree();
    return hub;
}

void BM_ImageToTree(benchmark::State& state) {
    auto hub = MakeHub(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        hub->ImageToTree();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ImageToTree)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_TreeToImage(benchmark::State& state) {
    auto hub = MakeHub(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        hub->TreeToImage();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TreeToImage)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_BuildTree(benchmark::State& state) {
    for (auto _ : state) {
        CZ30RadioDataManager manager;
        manager.BuildTree();
        benchmark::DoNotOptimize(manager.NodeCount());
    }
}
BENCHMARK(BM_BuildTree)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

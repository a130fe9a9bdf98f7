// The differences window opening on two full images that differ in every value they can
// (target: under 100 ms from the comparison to the rows shown), on the offscreen platform.
#include "app/clone_support_doc.h"
#include "app/qt/differences_wnd.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "tests/support/variant_doc.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Every value that holds a number a step up, every text another one; every channel on.
void Bend(CNode* node, const std::string& path, CEditReport& r) {
    for (CNode* child : node->Children()) {
        if (!child) continue;
        const std::string p = path.empty() ? child->GetName() : path + "." + child->GetName();
        if (child->ChildCount())
            Bend(child, p, r);
        else if (dynamic_cast<CStringNode*>(child))
            r.SetText(p, "77");
        else if (p.find(".ChOn") != std::string::npos)
            r.SetCode(p, 1);
        else if (p.find(".Freq") == std::string::npos)
            r.SetCode(p, child->GetValue() + 1);
    }
}

void BM_DifferencesWindow(benchmark::State& state) {
    auto doc = VariantDoc(5);
    auto other = VariantDoc(5);
    other->Edit("bench", [&](CNode& root, CEditReport& r) { Bend(&root, {}, r); });
    const std::vector<std::uint8_t> image = other->ImageBytes();
    std::size_t rows = 0;
    for (auto _ : state) {
        CDifferencesWnd window(*doc, image, QStringLiteral("other.hxq"));
        window.show();
        QApplication::processEvents();
        rows = window.Differences().size();
    }
    state.counters["differences"] = static_cast<double>(rows);
}
BENCHMARK(BM_DifferencesWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The LMR 16CH memory sheet in the running program (offscreen): 16 rows pasted from table text,
// a value filled down 16 rows, and the sheet's refresh of every row. Each is one whole command
// as a user gives it (the edit, its undo step, the change notice, the rows redrawn); the target
// is 50 ms each.
#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <clocale>
#include <memory>

namespace {

CZ30App* g_app = nullptr;

CZ30MainFrame& Frame() { return *g_app->MainFrame(); }
CListSheet& Sheet() { return *static_cast<CListSheet*>(Frame().Sheets()->CurrentSheet()); }

// 16 rows on receive frequencies from base kHz, every other one narrow.
QString Rows(int baseKhz) {
    QString text = QStringLiteral("Rx Frequency\tTx Frequency\tRX C.Tone\tWide/Narrow\n");
    for (int k = 0; k < 16; ++k)
        text += QStringLiteral("%1.%2\t<-----\t%3\t%4\n")
                    .arg((baseKhz + 25 * k) / 1000)
                    .arg((baseKhz + 25 * k) % 1000, 3, 10, QLatin1Char('0'))
                    .arg(k % 2 ? QStringLiteral("88.5") : QStringLiteral("OFF"))
                    .arg(k % 2 ? QStringLiteral("Narrow") : QStringLiteral("Wide"));
    return text;
}

void SelectAll() {
    Sheet().SelectRow(0);
    Sheet().View()->ExtendTo(15);
}

} // namespace

static void BM_PasteSixteenRowsFromText(benchmark::State& state) {
    const QString texts[] = {Rows(146000), Rows(147000)};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QGuiApplication::clipboard()->setText(texts[turn++ % 2]);
        Sheet().SelectRow(0);
        state.ResumeTiming();
        Frame().RouteCommand(cmd::kPaste);
    }
    // What the last row shows: the paste reached it.
    state.SetLabel("CH 16 RX " + Sheet().CellText(15, 3).toStdString());
}
BENCHMARK(BM_PasteSixteenRowsFromText)->Unit(benchmark::kMillisecond);

static void BM_FillDownSixteenRows(benchmark::State& state) {
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SetValueByName(GetNode(g_app->Document().GetRoot(), "Mch.CH1"), "WidNar", turn++ % 2);
        SelectAll();
        Sheet().View()->SetCurrentColumn(8);
        state.ResumeTiming();
        Frame().RouteCommand(cmd::kFillDown);
    }
    state.SetLabel("CH 16 " + Sheet().CellText(15, 8).toStdString() + ", CH 1 " +
                   Sheet().CellText(0, 8).toStdString());
}
BENCHMARK(BM_FillDownSixteenRows)->Unit(benchmark::kMillisecond);

static void BM_RefreshSixteenRows(benchmark::State& state) {
    for (auto _ : state)
        Frame().RefreshCurrentSheet();
}
BENCHMARK(BM_RefreshSixteenRows)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // settings of its own, never the user's
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    CZ30AppOptions options;
    options.singleInstance = false;
    options.useQtSettings = false;
    options.useSerialPorts = false;
    options.useSound = false;
    auto app = std::make_unique<CZ30App>(options);
    Platform().settings->SetInt("Model", "ModelVer", 4); // LMR 16CH
    if (!app->InitInstance({QStringLiteral("--nosplash")})) return 1;
    g_app = app.get();
    Frame().resize(900, 700);
    QApplication::processEvents();
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    g_app->Document().SetModifiedFlag(false);
    return 0;
}

// Takes the screenshots of the signalling sheets and dialogs under a real X server (Xvfb): each
// sheet with some codes, each row editor and the dialogs "2Tone Setting", "TX Code" and
// "5Tone Setting".
//   ktz30_signal_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "core/platform.h"
#include "shoot.h"
#include "views/command_ids.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/tree_view.h"

#include <QApplication>
#include <QDialog>
#include <clocale>
#include <cstdio>
#include <utility>
#include <vector>

using namespace shots;

namespace {

using Values = std::vector<std::pair<const char*, const char*>>;

const Values kTwoTone = {
    {"2ToneCodeCH.RXCodeCH.CH1.1stFreq", "1000.0"}, {"2ToneCodeCH.RXCodeCH.CH1.2ndFreq", "1500.0"},
    {"2ToneCodeCH.RXCodeCH.CH1.Bell", "ON"},        {"2ToneCodeCH.RXCodeCH.CH1.Beep", "Pi(single)"},
    {"2ToneCodeCH.RXCodeCH.CH2.1stFreq", "1200.0"}, {"2ToneCodeCH.RXCodeCH.CH2.2ndFreq", "1800.0"},
    {"2ToneCodeCH.RXCodeCH.CH2.Group", "2nd"},      {"2ToneCodeCH.RXCodeCH.CH2.Scan", "Start"},
    {"2ToneCodeCH.TXCode.1stTonFreq", "1000"},      {"2ToneCodeCH.TXCode.2ndTonFreq", "1500"},
};
const Values kFiveTone = {
    {"5ToneCodeCH.TxCodeCom.SpcTonGrp", "E"},       {"5ToneCodeCH.RXCodeCH.CH1.RxCode", "12E45"},
    {"5ToneCodeCH.RXCodeCH.CH1.Bell", "Blink"},     {"5ToneCodeCH.RXCodeCH.CH1.ABC", "3"},
    {"5ToneCodeCH.RXCodeCH.CH2.RxCode", "1+345"},   {"5ToneCodeCH.TXCodeCH.CH1.TxCode", "12345"},
    {"5ToneCodeCH.TXCodeCH.CH2.TxCode", "1234E"},   {"5ToneCodeCH.TXCodeCH.CH2.ABCDec", "ON"},
    {"5ToneCodeCH.TXCodeCH.CH3.TxCode", "9876543"},
};

// The program on a radio of the variant, with some codes set.
struct Dialog {
    const char* shot;
    const char* editor;
    int treeCode;
};

// Selects the tree item of a sheet index or a dialog.
void SelectItem(CZ30MainFrame& frame, int code) {
    if (QTreeWidgetItem* item = frame.Tree()->FindCode(code)) frame.Tree()->setCurrentItem(item);
}

// The program on a radio of the variant with some codes set: each sheet, its row editor, and
// the dialogs.
void Run(int variant, const Values& values, const std::vector<std::pair<int, const char*>>& sheets,
         const std::vector<Dialog>& dialogs) {
    Platform().settings->SetInt("Model", "ModelVer", variant);
    CZ30AppOptions options = ShotOptions();
    options.useQtSettings = false;
    CZ30App app(options);
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(40, 40, 760, 420);
    app.Document().Edit("shots", [&](CNode&, CEditReport& report) {
        for (const auto& [path, text] : values)
            report.SetText(path, text);
    });
    for (const auto& [index, shot] : sheets) {
        SelectItem(frame, index); // a sheet's item has the sheet index as its code
        frame.ShowSheet(index);
        auto* sheet = static_cast<CListSheet*>(frame.Sheets()->CurrentSheet());
        sheet->SelectRow(1);
        frame.FocusSheet();
        const QString name = QString::fromLatin1(shot);
        Shoot(name, {&frame});
        // The row editor over its sheet.
        QTimer::singleShot(500, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                Shoot(name + QStringLiteral("-editor"), {&frame, dialog});
                dialog->reject();
            }
        });
        frame.RouteCommand(cmd::kEditMemory);
    }
    for (const Dialog& d : dialogs) {
        SelectItem(frame, d.treeCode);
        QTimer::singleShot(500, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                Shoot(QString::fromLatin1(d.shot), {&frame, dialog});
                dialog->reject();
            }
        });
        frame.OpenEditor(d.editor);
    }
    app.Document().SetModifiedFlag(false);
    frame.close();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeOutputDir(argc, argv, 1, "ktz30_signal_shots OUTPUT_DIR")) return 2;
    Run(4, kTwoTone, {{3, "sheet-2tone-rx-code"}},
        {{"dialog-2tone-setting", editor::kTwoToneSetting, 57},
         {"dialog-2tone-tx-code", editor::kTwoToneTxCode, 56}});
    Run(5, kFiveTone,
        {{4, "sheet-5tone-rx-code"},
         {5, "sheet-5tone-tx-code"},
         {6, "sheet-5tone-format"},
         {7, "sheet-5tone-user-tone"}},
        {{"dialog-5tone-setting", editor::kFiveToneSetting, 58}});
    return 0;
}

// Takes the screenshots of printing for docs/screenshots under a real X server (Xvfb): the
// "Print" dialog and the print preview of a PMR radio with some channels and settings, and the
// question Export PDF asks before it replaces a PDF the file dialog did not name.
//   print_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "clone/model_manager.h"
#include "params/node_access.h"
#include "shoot.h"
#include "views/command_ids.h"
#include "views/print_commands.h"
#include "views/print_dlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace shots;

namespace {

// Hands each modal window, once it shows, to the next answer in line.
void Answer(std::vector<std::function<void(QWidget*)>> answers) {
    auto* timer = new QTimer;
    auto left = std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(answers));
    auto last = std::make_shared<QWidget*>(nullptr);
    QObject::connect(timer, &QTimer::timeout, [timer, left, last] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == *last) return;
        *last = modal;
        const auto answer = left->front();
        left->erase(left->begin());
        if (left->empty()) timer->deleteLater();
        Wait(500);
        answer(modal);
    });
    timer->start(100);
}

void Check(QWidget* window, std::initializer_list<CPrintSelectDlg::Box> boxes) {
    auto* dialog = qobject_cast<CPrintSelectDlg*>(window);
    for (int b = 0; b < CPrintSelectDlg::kBoxes; ++b)
        dialog->BoxAt(CPrintSelectDlg::Box(b))
            ->setChecked(std::find(boxes.begin(), boxes.end(), b) != boxes.end());
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 1, "print_shots OUTPUT_DIR")) return 2;
    CZ30App app(ShotOptions());
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    app.Document().GetCloneManager()->GetModelManager()->ChangeModel(5, false);
    app.Document().Edit("shots", [](CNode& root, CEditReport&) {
        const int hz[] = {446100000, 446006250, 446093750};
        for (int ch = 1; ch <= 3; ++ch) {
            CNode* node = GetNode(&root, "Mch.CH" + std::to_string(ch));
            SetValueByName(node, "ChOn", 1);
            SetValueByName(node, "FreqRx", hz[ch - 1]);
            SetValueByName(node, "FreqTx", hz[ch - 1]);
        }
        SetValueByName(GetNode(&root, "Mch"), "PrioA", 2);
        SetStringByName(GetNode(&root, "CommonSet.Common1"), "Comment1", "NORQ DEPOT 7");
    });
    app.Document().SetModifiedFlag(false);
    frame.setGeometry(40, 40, 760, 520);
    Wait(300);

    using B = CPrintSelectDlg::Box;
    Answer({[&frame](QWidget* dialog) {
        Check(dialog, {B::CommonSetting, B::MemoryCh, B::Signalling});
        Shoot(QStringLiteral("print-dialog"), {&frame, dialog});
        qobject_cast<QDialog*>(dialog)->reject();
    }});
    frame.RouteCommand(cmd::kPrint);

    Answer({[](QWidget* dialog) {
                Check(dialog, {B::All});
                qobject_cast<QDialog*>(dialog)->accept();
            },
            [](QWidget* preview) {
                preview->setGeometry(20, 20, 980, 720);
                // The first memory channel page as wide as the window, as a reader looks at it.
                if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) pages->fitToWidth();
                for (QAction* action : preview->findChildren<QAction*>())
                    if (action->text() == QStringLiteral("Next page"))
                        for (int page = 1; page < 5; ++page)
                            action->trigger();
                Wait(800);
                Shoot(QStringLiteral("print-preview"), {preview});
                qobject_cast<QDialog*>(preview)->reject();
            }});
    frame.RouteCommand(cmd::kPrintPreview);

    // Export PDF to a name typed without its suffix whose PDF is there already.
    QTemporaryDir folder;
    QFile existing(folder.filePath(QStringLiteral("depot7.pdf")));
    existing.open(QIODevice::WriteOnly);
    existing.close();
    app.Printing()->askPdfPath = [&folder](const QString&) {
        return folder.filePath(QStringLiteral("depot7"));
    };
    Answer({[](QWidget* dialog) {
                Check(dialog, {B::All});
                qobject_cast<QDialog*>(dialog)->accept();
            },
            [&frame](QWidget* question) {
                Shoot(QStringLiteral("export-pdf-replace"), {&frame, question});
                qobject_cast<QDialog*>(question)->reject();
            }});
    frame.RouteCommand(cmd::kExportPdf);
    frame.close();
    return 0;
}

// Takes the screenshots of the settings forms for docs/screenshots under a real X server (Xvfb):
// the four pages of "Common Setting" and the dialogs "Scan Setting", "DTMF Autodial" and "Maker
// Reserved", for an LMR and a PMR radio where they differ.
//   form_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "clone/model_manager.h"
#include "params/node_access.h"
#include "shoot.h"
#include "views/editor_registry.h"
#include "views/setting_dlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <functional>

using namespace shots;

namespace {

// Opens the named editor and shoots it once it shows; openList opens the list of that field.
void ShootEditor(CZ30MainFrame& frame, const char* editor, int page, const QString& name,
                 const char* openList = nullptr) {
    QTimer::singleShot(500, [&frame, name, openList] {
        auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!form) return;
        QWidget* popup = nullptr;
        if (openList) {
            auto* sheet = qobject_cast<CCommonSettingSheet*>(form);
            CFormPage* shown =
                sheet ? sheet->Page(sheet->Tabs()->currentIndex()) : form->findChild<CFormPage*>();
            if (auto* list = qobject_cast<QComboBox*>(shown->Control(openList))) {
                list->showPopup();
                Wait(300);
                popup = list->view()->window();
            }
        }
        Shoot(name, {&frame, form, popup});
        if (popup) popup->hide();
        form->reject();
    });
    frame.OpenEditor(editor, page);
}

void UseVariant(CZ30App& app, int variant) {
    CModelManager* model = app.Document().GetCloneManager()->GetModelManager();
    model->ChangeModel(variant, false);
    model->SetMakerReserve(true);
    // Values a dealer might have set, so that the forms show more than factory defaults.
    app.Document().Edit("shots", [](CNode& root, CEditReport&) {
        SetTextByName(GetNode(&root, "CommonSet.Common1"), "Comment1", "NORQ DEPOT 7");
        SetValueByName(GetNode(&root, "CommonSet.Common1"), "AutoResTimA", 10);
        SetTextByName(GetNode(&root, "DTMFAutoD.DTMFDial.AD1"), "Code", "0123456789*#");
        SetTextByName(GetNode(&root, "DTMFAutoD.DTMFDial.AD2"), "Code", "911");
        SetValueByName(GetNode(&root, "ScanList.ScanCom"), "Mode", 1);
        SetValueByName(GetNode(&root, "CommonSet.KeyDisp"), "KeyF0Conv", 14);
    });
    app.Document().SetModifiedFlag(false);
    app.MainFrame()->RebuildTree();
    app.MainFrame()->RefreshCurrentSheet();
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 1, "form_shots OUTPUT_DIR")) return 2;
    CZ30App app(ShotOptions());
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(40, 40, 760, 520);
    Wait(300);

    for (int variant : {4, 5}) {
        UseVariant(app, variant);
        const QString family = variant % 2 ? QStringLiteral("-pmr") : QStringLiteral("-lmr");
        ShootEditor(frame, editor::kCommonSetting, 0, "form-key-display" + family);
        ShootEditor(frame, editor::kCommonSetting, 0, "form-key-list" + family, "KeyF0Conv");
        ShootEditor(frame, editor::kCommonSetting, 1, "form-common1" + family);
        ShootEditor(frame, editor::kScanSetting, 0, "form-scan" + family);
        ShootEditor(frame, editor::kDtmfAutodial, 0, "form-dtmf-autodial" + family);
        if (variant % 2) continue;
        ShootEditor(frame, editor::kCommonSetting, 2, QStringLiteral("form-common2"));
        ShootEditor(frame, editor::kCommonSetting, 3, QStringLiteral("form-expert"));
        ShootEditor(frame, editor::kMakerReserved, 0, QStringLiteral("form-maker-reserved"));
    }
    app.Document().SetModifiedFlag(false);
    frame.close();
    return 0;
}

#include "clone/model_manager.h"

#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "core/platform.h"

KT_IMPLEMENT_DYNCREATE(CModelManager, CCloneManagerObject)
KT_IMPLEMENT_DYNCREATE(CZ30ModelManager, CModelManager)

const char* const kChangeModelPrompt = "Change model \n\nAll data will be lost.\n\n      OK? \n";

void CModelManager::Init() {
    m_makerReserve = false;
    m_manufacture = false;
    m_info = CreateModelInfo();
}

std::unique_ptr<CModelInfo> CModelManager::CreateModelInfo() const {
    return std::make_unique<CModelInfo>(0, 255, 0, 0, 1);
}

void CModelManager::SetVariant(int variant, bool reload) {
    if (!m_info) return;
    m_info->SetCurrent(variant);
    CCloneManagerTemplate* hub = GetOwner();
    if (!reload || !hub) return;
    if (CDefaultDataManager* defaults = hub->GetDefaultDataManager())
        defaults->LoadWhole(GetVariant());
    hub->ImageToTree();
}

int CModelManager::ChangeModel(int variant, bool ask) {
    if (ask && Platform().prompts->MessageBox(kChangeModelPrompt, "KT-Z30", KtButtons::YesNo,
                                              KtIcon::Exclamation) != KtAnswer::Yes)
        return 0;
    SetVariant(variant, true);
    CCloneManagerTemplate* hub = GetOwner();
    if (ICloneDocument* doc = hub ? hub->GetDocument() : nullptr) {
        doc->SetModifiedFlag(false);
        {
            CModalScope guard;
            if (guard.Entered()) doc->OnNewDocument();
        }
        doc->TreeChanged(CChangeReason::ModelChange);
    }
    return 1;
}

std::unique_ptr<CModelInfo> CZ30ModelManager::NewZ30Record() {
    auto info =
        std::make_unique<CModelInfo>(0, kVariantCount - 1, kModelCode, kRevision, kInfoLength);
    for (int v = 0; v < kVariantCount; ++v)
        info->AddChoice(v, kVariantNames[v]);
    info->SetCommentLayout(0, 32);
    return info;
}

#include "clone/clone_manager.h"

#include "clone/adjust_data_manager.h"
#include "clone/clone_file_io_manager.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/default_data_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/radio_data_manager.h"
#include "core/platform.h"

KT_IMPLEMENT_DYNCREATE(CCloneManagerTemplate, CObjectBase)
KT_IMPLEMENT_DYNCREATE(CCloneManager, CCloneManagerTemplate)
KT_IMPLEMENT_DYNCREATE(CZ30CloneManager, CCloneManager)

const char* const kMakerReserveCaution =
    "\n        CAUTION ! 'Maker reserve' is activated now.        \n\n\n        Use the original "
    "cloning data whitch you read out,        \n\n        otherwise the transceiver will not work "
    "properly        \n\n        and all items must be readjusted.        ";
const char* const kManufactureCaution =
    "\n        CAUTION ! 'Manufacture' is activated now.        \n\n\n        Use the original "
    "cloning data whitch you read out,        \n\n        otherwise the transceiver will not work "
    "properly        \n\n        and all items must be readjusted.        ";

CCloneManagerTemplate::~CCloneManagerTemplate() {
    // The serial and file managers go first: they may still use the others while closing.
    for (auto it = m_all.rbegin(); it != m_all.rend(); ++it)
        delete *it;
}

void CCloneManagerTemplate::SetManagers(CEepromDataManager* eeprom, CDefaultDataManager* defaults,
                                        CAdjustDataManager* adjust, CRadioDataManager* radioData,
                                        CModelManager* model, CCloneRsIoManager* rsIo,
                                        CCloneFileIoManager* fileIo) {
    m_eeprom = eeprom;
    m_defaults = defaults;
    m_adjust = adjust;
    m_radioData = radioData;
    m_model = model;
    m_rsIo = rsIo;
    m_fileIo = fileIo;
    m_all = {eeprom, defaults, adjust, radioData, model, rsIo, fileIo};
}

CByteImage* CCloneManagerTemplate::GetImage() const { return m_eeprom; }

CNode* CCloneManagerTemplate::GetRoot() const {
    return m_radioData ? m_radioData->GetRoot() : nullptr;
}

int CCloneManagerTemplate::GetVariant() const { return m_model ? m_model->GetVariant() : 0; }

void CCloneManagerTemplate::Init() {
    for (CCloneManagerObject* m : m_all)
        if (m) m->SetOwner(this);
    for (CCloneManagerObject* m : m_all)
        if (m) m->Init();
}

void CCloneManagerTemplate::ResetToDefaults() {
    if (m_defaults) m_defaults->LoadWhole(GetVariant());
    ImageToTree();
}

void CCloneManagerTemplate::TreeToImage() {
    if (m_radioData && m_eeprom) m_radioData->TreeToImage(m_radioData->GetRoot(), *m_eeprom);
}

void CCloneManagerTemplate::ImageToTree() {
    if (m_radioData && m_eeprom) m_radioData->ImageToTree(m_radioData->GetRoot(), *m_eeprom);
}

namespace {
int Activate(CModelManager* model, bool on, const char* text, void (CModelManager::*set)(bool)) {
    if (on) return 2;
    const KtAnswer a =
        Platform().prompts->MessageBox(text, "KT-Z30", KtButtons::OkCancel, KtIcon::Exclamation);
    if (a != KtAnswer::Ok) return 2;
    if (model) (model->*set)(true);
    return 1;
}
} // namespace

int CCloneManager::ActivateMakerReserve() {
    CModelManager* m = GetModelManager();
    return Activate(m, m && m->IsMakerReserve(), kMakerReserveCaution,
                    &CModelManager::SetMakerReserve);
}

int CCloneManager::ActivateManufacture() {
    CModelManager* m = GetModelManager();
    return Activate(m, m && m->IsManufacture(), kManufactureCaution,
                    &CModelManager::SetManufacture);
}

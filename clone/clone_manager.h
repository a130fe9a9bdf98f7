// The hub of one document: owns the seven managers, links them and offers the whole
// operations (reset to defaults, tree/image conversions, service modes, clone commands).
#pragma once

#include "core/object.h"

#include <array>

class CByteImage;
class CCloneManagerObject;
class CEepromDataManager;
class CDefaultDataManager;
class CAdjustDataManager;
class CRadioDataManager;
class CModelManager;
class CCloneRsIoManager;
class CCloneFileIoManager;
class CNode;

// Why a document's tree changed, as its change notice tells.
enum class CChangeReason { Edit, Load, Read, UndoRedo, ModelChange, New };

// What the managers need of the document that owns the hub.
class ICloneDocument {
public:
    virtual ~ICloneDocument() = default;
    virtual void SetModifiedFlag(bool modified) = 0;
    virtual bool IsModified() const = 0;
    // The application's new-document processing (the path is emptied; image and tree stay).
    virtual void OnNewDocument() = 0;
    // The main frame rebuilds its navigation tree and panes for the current variant.
    virtual void RebuildViews() = 0;
    // The hub replaced the image and the whole tree (a clone read, a model change) and the
    // document's state is final: the document tells its subscribers once.
    virtual void TreeChanged(CChangeReason why) = 0;
};

class CCloneManagerTemplate : public CObjectBase {
    KT_DECLARE_CLASS(CCloneManagerTemplate)
public:
    CCloneManagerTemplate() = default;
    ~CCloneManagerTemplate() override;
    CCloneManagerTemplate(const CCloneManagerTemplate&) = delete;
    CCloneManagerTemplate& operator=(const CCloneManagerTemplate&) = delete;

    // Takes ownership; any of them may be null (tests build partial hubs).
    void SetManagers(CEepromDataManager* eeprom, CDefaultDataManager* defaults,
                     CAdjustDataManager* adjust, CRadioDataManager* radioData, CModelManager* model,
                     CCloneRsIoManager* rsIo, CCloneFileIoManager* fileIo);
    void SetDocument(ICloneDocument* document) { m_document = document; }
    ICloneDocument* GetDocument() const { return m_document; }

    CEepromDataManager* GetEepromDataManager() const { return m_eeprom; }
    CByteImage* GetImage() const;
    CDefaultDataManager* GetDefaultDataManager() const { return m_defaults; }
    CAdjustDataManager* GetAdjustDataManager() const { return m_adjust; }
    CRadioDataManager* GetRadioDataManager() const { return m_radioData; }
    CModelManager* GetModelManager() const { return m_model; }
    CCloneRsIoManager* GetCloneRsIoManager() const { return m_rsIo; }
    CCloneFileIoManager* GetCloneFileIoManager() const { return m_fileIo; }
    CNode* GetRoot() const;
    int GetVariant() const;

    // Sets every manager's owner and runs their init in the order image, defaults, adjust,
    // radio data (builds the tree), model, serial I/O, file I/O.
    virtual void Init();
    // The current variant's factory image into the image, then image to tree.
    virtual void ResetToDefaults();
    virtual void TreeToImage();
    virtual void ImageToTree();

private:
    CEepromDataManager* m_eeprom = nullptr;
    CDefaultDataManager* m_defaults = nullptr;
    CAdjustDataManager* m_adjust = nullptr;
    CRadioDataManager* m_radioData = nullptr;
    CModelManager* m_model = nullptr;
    CCloneRsIoManager* m_rsIo = nullptr;
    CCloneFileIoManager* m_fileIo = nullptr;
    std::array<CCloneManagerObject*, 7> m_all{};
    ICloneDocument* m_document = nullptr;
};

class CCloneManager : public CCloneManagerTemplate {
    KT_DECLARE_CLASS(CCloneManager)
public:
    // The answer as a button code: 1 = OK (the mode is on now), 2 = Cancel; 2 without asking
    // when the mode is already on.
    virtual int ActivateMakerReserve();
    virtual int ActivateManufacture();
};

class CZ30CloneManager : public CCloneManager {
    KT_DECLARE_CLASS(CZ30CloneManager)
};

extern const char* const kMakerReserveCaution; // string 5010
extern const char* const kManufactureCaution;  // string 5011

// The document's current variant, its identity record and the two service-mode flags.
#pragma once

#include "clone/clone_manager_object.h"
#include "clone/model_info.h"

#include <memory>

class CModelManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CModelManager)
public:
    void Init() override;

    virtual int GetVariant() const { return m_info ? m_info->GetCurrent() : 0; }
    // Clamped to the record's range; with reload the variant's factory image is loaded and the
    // tree rebuilt from it.
    virtual void SetVariant(int variant, bool reload);
    // Asks first when ask is set; returns 0 when the user declined, 1 after the change.
    virtual int ChangeModel(int variant, bool ask);

    bool IsMakerReserve() const { return m_makerReserve; }
    void SetMakerReserve(bool on) { m_makerReserve = on; }
    bool IsManufacture() const { return m_manufacture; }
    void SetManufacture(bool on) { m_manufacture = on; }

    CModelInfo* GetModelInfo() const { return m_info.get(); }

protected:
    virtual std::unique_ptr<CModelInfo> CreateModelInfo() const;

private:
    std::unique_ptr<CModelInfo> m_info;
    bool m_makerReserve = false;
    bool m_manufacture = false;
};

class CZ30ModelManager : public CModelManager {
    KT_DECLARE_CLASS(CZ30ModelManager)
public:
    static constexpr int kModelCode = 0x5827;
    static constexpr int kRevision = 0x0100;
    static constexpr std::size_t kInfoLength = 38;
    // A record as the document and the radio reply both start with.
    static std::unique_ptr<CModelInfo> NewZ30Record();

protected:
    std::unique_ptr<CModelInfo> CreateModelInfo() const override { return NewZ30Record(); }
};

extern const char* const kChangeModelPrompt;

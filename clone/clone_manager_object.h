// Base of every manager of a document's clone manager hub.
#pragma once

#include "core/object.h"

class CCloneManagerTemplate;

class CCloneManagerObject : public CObjectBase {
    KT_DECLARE_CLASS(CCloneManagerObject)
public:
    CCloneManagerTemplate* GetOwner() const { return m_owner; }
    void SetOwner(CCloneManagerTemplate* owner) { m_owner = owner; }
    virtual void Hook() {}
    virtual void Init() {}

private:
    CCloneManagerTemplate* m_owner = nullptr;
};

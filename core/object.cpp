#include "core/object.h"

#include <cstring>
#include <vector>

namespace {
std::vector<const CClassRecord*>& Registry() {
    static std::vector<const CClassRecord*> records;
    return records;
}
} // namespace

const CClassRecord CObjectBase::classCObjectBase = {"CObjectBase", sizeof(CObjectBase), 1, nullptr,
                                                    nullptr};

const CClassRecord* CObjectBase::GetClassRecord() const { return &classCObjectBase; }

bool CObjectBase::IsKindOf(const CClassRecord* record) const {
    return GetClassRecord()->IsDerivedFrom(record);
}

bool CClassRecord::IsDerivedFrom(const CClassRecord* other) const {
    for (const CClassRecord* r = this; r; r = r->base)
        if (r == other) return true;
    return false;
}

CClassRegistrar::CClassRegistrar(const CClassRecord* record) { Registry().push_back(record); }

const CClassRecord* CClassRecord::FromName(std::string_view name) {
    for (const CClassRecord* r : Registry())
        if (name == r->className) return r;
    return nullptr;
}

CObjectBase* CClassRecord::CreateByName(std::string_view name) {
    const CClassRecord* r = FromName(name);
    return r ? r->CreateObject() : nullptr;
}

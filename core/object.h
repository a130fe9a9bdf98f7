// Common object root: every manager, node, document and view carries a class record so that it
// can be created by class name.
#pragma once

#include <cstddef>
#include <string_view>

class CObjectBase;

struct CClassRecord {
    const char* className;
    std::size_t objectSize;
    unsigned schema;
    CObjectBase* (*factory)(); // null for classes that cannot be created by name
    const CClassRecord* base;

    CObjectBase* CreateObject() const { return factory ? factory() : nullptr; }
    bool IsDerivedFrom(const CClassRecord* other) const;
    // The record registered under this name, or null.
    static const CClassRecord* FromName(std::string_view name);
    static CObjectBase* CreateByName(std::string_view name);
};

// Adds a record to the registry at static initialisation.
struct CClassRegistrar {
    explicit CClassRegistrar(const CClassRecord* record);
};

class CObjectBase {
public:
    virtual ~CObjectBase() = default;
    virtual const CClassRecord* GetClassRecord() const;
    bool IsKindOf(const CClassRecord* record) const;
    static const CClassRecord classCObjectBase;
};

#define KT_CLASS_RECORD(name) (&name::class##name)

#define KT_DECLARE_CLASS(name)                                                                     \
public:                                                                                            \
    static const CClassRecord class##name;                                                         \
    const CClassRecord* GetClassRecord() const override { return &class##name; }                   \
    static CObjectBase* CreateObject();

#define KT_IMPLEMENT_CLASS_IMPL(name, basename, fn)                                                \
    const CClassRecord name::class##name = {#name, sizeof(name), 1, fn,                            \
                                            KT_CLASS_RECORD(basename)};                            \
    static const CClassRegistrar s_register##name(&name::class##name);

// A class that can be created by name (it needs a default constructor).
#define KT_IMPLEMENT_DYNCREATE(name, basename)                                                     \
    CObjectBase* name::CreateObject() { return new name; }                                         \
    KT_IMPLEMENT_CLASS_IMPL(name, basename, &name::CreateObject)

// A class with a record but without a factory.
#define KT_IMPLEMENT_DYNAMIC(name, basename)                                                       \
    CObjectBase* name::CreateObject() { return nullptr; }                                          \
    KT_IMPLEMENT_CLASS_IMPL(name, basename, nullptr)

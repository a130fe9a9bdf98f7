// The parameter tree: named nodes with ordered children. Nodes do not own their children; the
// radio data manager owns every node it builds.
#pragma once

#include "core/object.h"
#include "params/set_result.h"

#include <cstddef>
#include <string>
#include <vector>

class CNodeBase : public CObjectBase {
    KT_DECLARE_CLASS(CNodeBase)
public:
    CNodeBase() = default;
    explicit CNodeBase(const char* name);

    virtual std::string GetName() const { return m_hasName ? m_name : std::string(); }
    virtual void SetName(const char* name);
    virtual int GetTag() const { return m_tag; }
    virtual void SetTag(int tag) { m_tag = tag; }
    virtual int GetData() const { return m_data; }
    virtual void SetData(int data);
    virtual void Hook() {}
    virtual int GetLevel() const { return m_level; }
    virtual bool IsSameName(const CNodeBase& other) const;
    bool IsSameName(const char* name) const;
    // Marks the node modified whatever the argument; the tree never clears the flag.
    virtual void SetModified(int flag);
    virtual bool IsModified() const { return m_modified; }

protected:
    std::string m_name;
    bool m_hasName = false;
    int m_tag = -1;
    int m_data = 0;
    int m_level = 0;
    bool m_modified = false;
};

class CNode : public CNodeBase {
    KT_DECLARE_CLASS(CNode)
public:
    CNode() = default;
    explicit CNode(const char* name) : CNodeBase(name) {}

    // Store a value given as display text or as its integer code; a node without a value part
    // refuses both.
    virtual CSetResult SetText(const std::string& text);
    virtual CSetResult SetValue(int code);
    virtual CNode* Assign(const CNode& other);
    // Shallow copy: name, tag and data through their setters, children shared.
    virtual void CopyFrom(const CNode& other);
    virtual std::string GetText() const { return GetName(); }
    virtual int GetValue() const { return m_data; }
    virtual void SetModifiedTree(int flag, CNode* node);
    virtual bool IsModifiedTree(const CNode* node) const;

    CNode* AddChild(CNode* child);
    // The child of that name, searched from the child last found and wrapping round.
    CNode* FindChild(const std::string& name);
    const std::vector<CNode*>& Children() const { return m_children; }
    std::size_t ChildCount() const { return m_children.size(); }
    CNode* ChildAt(std::size_t i) const { return i < m_children.size() ? m_children[i] : nullptr; }

private:
    static constexpr std::size_t kNoCursor = static_cast<std::size_t>(-1);
    std::vector<CNode*> m_children;
    std::size_t m_cursor = kNoCursor;
};

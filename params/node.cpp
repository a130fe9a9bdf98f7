#include "params/node.h"

#include <cstring>

KT_IMPLEMENT_DYNCREATE(CNodeBase, CObjectBase)
KT_IMPLEMENT_DYNCREATE(CNode, CNodeBase)

CNodeBase::CNodeBase(const char* name) { SetName(name); }

void CNodeBase::SetName(const char* name) {
    m_hasName = name != nullptr;
    m_name = name ? name : "";
}

void CNodeBase::SetData(int data) {
    m_data = data;
    SetModified(1);
}

bool CNodeBase::IsSameName(const CNodeBase& other) const {
    return m_hasName && other.m_hasName && m_name == other.m_name;
}

bool CNodeBase::IsSameName(const char* name) const { return m_hasName && name && m_name == name; }

void CNodeBase::SetModified(int) { m_modified = true; }

CSetResult CNode::SetText(const std::string&) {
    return CSetResult::Refused(nullptr, CSetReason::NoValue);
}

CSetResult CNode::SetValue(int) { return CSetResult::Refused(nullptr, CSetReason::NoValue); }

CNode* CNode::Assign(const CNode& other) {
    CopyFrom(other);
    return this;
}

void CNode::CopyFrom(const CNode& other) {
    m_level = other.GetLevel() + 1;
    if (&other == this) return;
    SetName(other.m_hasName ? other.m_name.c_str() : nullptr);
    SetTag(other.GetTag());
    SetData(other.GetData());
    for (CNode* child : other.m_children)
        m_children.push_back(child);
}

void CNode::SetModifiedTree(int flag, CNode*) { SetModified(flag); }

bool CNode::IsModifiedTree(const CNode*) const { return IsModified(); }

CNode* CNode::AddChild(CNode* child) {
    m_children.push_back(child);
    return child;
}

CNode* CNode::FindChild(const std::string& name) {
    const std::size_t n = m_children.size();
    if (n == 0) return nullptr;
    if (m_cursor == kNoCursor || m_cursor >= n) m_cursor = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (m_cursor + k) % n;
        if (m_children[i]->IsSameName(name.c_str())) {
            m_cursor = i;
            return m_children[i];
        }
    }
    return nullptr;
}

#include "params/value_nodes.h"

#include "core/ctext.h"

#include <algorithm>

KT_IMPLEMENT_DYNCREATE(CNumNode, CNode)
KT_IMPLEMENT_DYNCREATE(CBitNode, CNumNode)
KT_IMPLEMENT_DYNCREATE(CStringNode, CNode)

int CRangeValue::Normalize(int code) const {
    if (IsValid(code)) return code;
    if (IsValid(m_default)) return m_default;
    for (long long c = m_min; c <= m_max; ++c)
        if (IsValid(static_cast<int>(c))) return static_cast<int>(c);
    return m_min;
}

CSetResult CRangeValue::SetValue(int code) {
    m_value = std::max(m_min, std::min(code, m_max));
    CSetResult r;
    if (m_value != code) {
        r.status = CSetStatus::Adjusted;
        r.reason = CSetReason::Clamped;
    }
    r.stored = GetText();
    if (r.stored.empty()) r.stored = std::to_string(m_value);
    return r;
}

void CRangeValue::SetRange(int value, int def, int min, int max) {
    m_min = min;
    m_max = max;
    m_default = def;
    m_value = value;
}

void CRangeValue::CopyValuePart(const CRangeValue& other) {
    m_value = other.m_value;
    m_min = other.m_min;
    m_max = other.m_max;
    m_default = other.m_default;
}

std::string CChoiceValue::GetText() const { return TextOf(m_value); }

std::string CChoiceValue::TextOf(int code) const {
    for (const CChoice& c : m_choices)
        if (c.code == code) return c.text;
    return std::string();
}

void CChoiceValue::AddChoice(int code, const std::string& text) {
    // A text names one code only: a second entry for the same text replaces the first.
    auto same = std::find_if(m_choices.begin(), m_choices.end(),
                             [&](const CChoice& c) { return c.text == text; });
    if (same != m_choices.end()) m_choices.erase(same);
    auto pos = std::upper_bound(m_choices.begin(), m_choices.end(), code,
                                [](int v, const CChoice& c) { return v < c.code; });
    m_choices.insert(pos, CChoice{text, code});
}

bool CChoiceValue::FindChoice(const std::string& text, int* code) const {
    for (const CChoice& c : m_choices)
        if (c.text == text) {
            *code = c.code;
            return true;
        }
    // A number typed with a decimal comma means the choice written with a point ("88,5").
    const std::string point = CommaAsPoint(text);
    return point != text && FindChoice(point, code);
}

void CChoiceValue::CopyChoices(const CChoiceValue& other) {
    for (const CChoice& c : other.m_choices)
        AddChoice(c.code, c.text);
}

CSetResult CNumNode::SetText(const std::string& text) {
    int code = 0;
    if (!FindChoice(text, &code)) return CSetResult::Refused(this, CSetReason::NotAChoice);
    return SetValue(code);
}

void CNumNode::CopyFrom(const CNode& other) {
    CNode::CopyFrom(other);
    if (const auto* num = dynamic_cast<const CChoiceValue*>(&other); num && num != this) {
        CopyValuePart(*num);
        CopyChoices(*num);
    }
}

CNumNode* CNumNode::Choices(std::initializer_list<std::pair<int, const char*>> list) {
    for (const auto& [code, text] : list)
        AddChoice(code, text);
    return this;
}

CBitNode::CBitNode(const char* name, const char* off, const char* on) : CBitNode(name) {
    AddChoice(0, off);
    AddChoice(1, on);
}

CSetResult CStringNode::SetString(const std::string& text) {
    FilterString(text);
    m_text = text;
    while (!m_text.empty() &&
           (m_text.back() == ' ' || m_text.back() == '\t' || m_text.back() == '\n'))
        m_text.pop_back();
    return CSetResult::Of(*this, m_text == text ? CSetReason::None : CSetReason::Trimmed);
}

CSetResult CStringNode::SetValue(int) { return CSetResult::Refused(this, CSetReason::NoValue); }

void CStringNode::CopyFrom(const CNode& other) {
    CNode::CopyFrom(other);
    if (const auto* s = dynamic_cast<const CStringNode*>(&other)) SetString(s->GetString());
}

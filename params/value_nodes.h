// Value nodes: an integer code with range, default and a list of named choices; strings.
#pragma once

#include "params/node.h"
#include "params/set_result.h"

#include <string>
#include <utility>
#include <vector>

// The value part: a code clamped into [min, max], never rejected.
class CRangeValue {
public:
    CRangeValue(int value, int def, int min, int max)
        : m_value(value), m_min(min), m_max(max), m_default(def) {}
    virtual ~CRangeValue() = default;

    virtual bool IsValid(int code) const { return code >= m_min && code <= m_max; }
    virtual int Normalize(int code) const;
    virtual int GetValue() const { return m_value; }
    // Stores the code clamped into [min, max]: stored, or adjusted (clamped).
    virtual CSetResult SetValue(int code);
    virtual void Reset() { m_value = m_default; }
    virtual std::string GetText() const = 0;
    void GetText(std::string& out) const { out = GetText(); }

    void SetRange(int value, int def, int min, int max);
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    int GetDefault() const { return m_default; }

protected:
    void CopyValuePart(const CRangeValue& other);
    int m_value;
    int m_min;
    int m_max;
    int m_default;
};

// One named choice of a value.
struct CChoice {
    std::string text;
    int code;
};

class CChoiceValue : public CRangeValue {
public:
    using CRangeValue::CRangeValue;
    using CRangeValue::GetText;

    // The text of the current code, or empty when no choice has it.
    std::string GetText() const override;
    void AddChoice(int code, const std::string& text);
    // The code of a choice text; false when there is none.
    bool FindChoice(const std::string& text, int* code) const;
    std::string TextOf(int code) const;
    // The choices in ascending code order (stable for equal codes).
    const std::vector<CChoice>& Choices() const { return m_choices; }
    void CopyChoices(const CChoiceValue& other);

private:
    std::vector<CChoice> m_choices;
};

class CNumNode : public CChoiceValue, public CNode {
    KT_DECLARE_CLASS(CNumNode)
public:
    CNumNode() : CNumNode("NumNode") {}
    explicit CNumNode(const char* name) : CChoiceValue(0, 0, 0, 255), CNode(name) {}
    CNumNode(const char* name, int value, int def, int min, int max)
        : CChoiceValue(value, def, min, max), CNode(name) {}

    // A choice text stores its code; any other text is refused (not one of the choices).
    CSetResult SetText(const std::string& text) override;
    CSetResult SetValue(int code) override { return CChoiceValue::SetValue(code); }
    void CopyFrom(const CNode& other) override;
    std::string GetText() const override { return CChoiceValue::GetText(); }
    int GetValue() const override { return CChoiceValue::GetValue(); }
    // Adds (code, text) pairs: node->Choices({{0, "OFF"}, {1, "ON"}}).
    CNumNode* Choices(std::initializer_list<std::pair<int, const char*>> list);
};

class CBitNode : public CNumNode {
    KT_DECLARE_CLASS(CBitNode)
public:
    CBitNode() : CBitNode("BitNode") {}
    explicit CBitNode(const char* name) : CNumNode(name, 0, 0, 0, 1) {}
    CBitNode(const char* name, const char* off, const char* on);
};

class CStringNode : public CNode {
    KT_DECLARE_CLASS(CStringNode)
public:
    CStringNode() : CStringNode("StringNode", "") {}
    CStringNode(const char* name, const char* text) : CNode(name), m_text(text ? text : "") {}

    CSetResult SetText(const std::string& text) override { return SetString(text); }
    // A string takes no code: refused.
    CSetResult SetValue(int) override;
    void CopyFrom(const CNode& other) override;
    std::string GetText() const override { return m_text; }
    int GetValue() const override { return GetData(); }

    // Stores the text without trailing blanks (space, tab, new line): stored, or adjusted
    // (trimmed). The node imposes no length or character rule; the image does (see the radio
    // map's keep check).
    virtual CSetResult SetString(const std::string& text);
    virtual std::string GetString() const { return m_text; }
    virtual int FilterString(const std::string&) { return 0; }

private:
    std::string m_text;
};

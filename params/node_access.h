// Dotted-path lookup, the accessors the views use, and the text rules of node texts.
#pragma once

#include "params/node.h"

#include <string>
#include <string_view>

// The list part of a combo box, implemented by the views.
class IListControl {
public:
    virtual ~IListControl() = default;
    virtual void ResetContent() = 0;
    virtual int AddString(const std::string& text) = 0;
    virtual int GetCount() const = 0;
    virtual std::string GetItemText(int index) const = 0;
    virtual int GetCurSel() const = 0; // -1 when nothing is selected
    virtual void SetCurSel(int index) = 0;
};

// The root that paths start from: the tree of the active document.
void SetActiveRoot(CNode* root);
CNode* GetActiveRoot();
// Resolves "Mch.CH12.FreqRx" from the root; the empty path is the root itself. A missing
// component gives null.
CNode* GetNode(const std::string& path);
CNode* GetNode(CNode* root, const std::string& path);

// "Mch.CH12.FreqRx" gives 12 and "FreqRx", "Mch.CH12" gives 12 and an empty field (the channel
// number has one or two digits); false for any other path.
bool SplitChannelPath(std::string_view path, int* channel, std::string_view* field);

// Accessors by parent and child name; a missing parent or child makes them do nothing (setters
// are refused as an unknown path, getters give 0 or the empty text).
CSetResult SetValueByName(CNode* parent, const std::string& name, int code);
CSetResult SetTextByName(CNode* parent, const std::string& name, const std::string& text);
int GetValueByName(CNode* parent, const std::string& name);
std::string GetTextByName(CNode* parent, const std::string& name);
// The selected text to the child; with nothing selected, refused as not one of the choices.
CSetResult SetFromCombo(CNode* parent, const std::string& name, const IListControl& combo);
// Lists every choice in ascending code order and selects the current text.
void FillComboWithChoices(CNode* parent, const std::string& name, IListControl& combo);
// Lists the texts of the codes first..last (empty texts left out) and selects the current one.
void FillComboWithRange(CNode* parent, const std::string& name, IListControl& combo, int first,
                        int last, bool empty = true);
void FillComboWithBit(CNode* parent, const std::string& name, IListControl& combo);
// For string children; another kind of child refuses (no value of that kind).
CSetResult SetStringByName(CNode* parent, const std::string& name, const std::string& text);
std::string GetStringByName(CNode* parent, const std::string& name);
CSetResult SetStringFromCombo(CNode* parent, const std::string& name, const IListControl& combo);

// Text rules.
extern const char* const kPrintableChars; // space (32) to '~' (126)
extern const char* const kNumericChars;   // "0123456789."
// Removes every character not in allowed; true when something was removed.
bool KeepAllowedChars(std::string& text, const std::string& allowed);
bool KeepPrintableChars(std::string& text);
// The text without blanks (spaces, tabs) at either end.
std::string TrimBlanks(const std::string& text);
// Whether two texts are the same, the letter case of ASCII letters aside.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// Every character of set replaced by replacement.
std::string SubstituteChars(const std::string& text, const std::string& set,
                            const std::string& replacement);
// floor(10 * scale * x + 0.5) / 10 with integer division, x read from the text; 0 when the
// text holds no number.
long long ScaledDecimal(const std::string& text, int scale);

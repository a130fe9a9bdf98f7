// The settings forms without their windows: the four pages of "Common Setting" and the dialogs
// "Scan Setting", "DTMF Autodial" and "Maker Reserved". Each form is a table of fields (label,
// group, node, rule); the functions below give what a form shows, its tool tips, its label and
// value cells for printing, and store what its controls hold on OK.
#pragma once

#include "sheets/channel_entry.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

class CNode;

enum class CSettingForm { KeyDisplay, Common1, Common2, Expert, ScanSetting, DtmfAutodial, Maker };

// The pages of "Common Setting" in page order (page 0 to 3).
inline constexpr CSettingForm kCommonSettingPages[] = {
    CSettingForm::KeyDisplay, CSettingForm::Common1, CSettingForm::Common2, CSettingForm::Expert};

// How a field shows its node's value and turns what was typed back into it.
enum class CFieldRule {
    Timer,      // "OFF" for 0, else "%d.000"; typed text to whole units (not a number: 0)
    Whole,      // "%d.000", also for 0; typed text to whole units
    Count,      // "%d"; typed text to whole units
    Factor,     // value / scale with three decimals; typed text times scale
    Frequency,  // the frequency node's own text; typed text through the node's rule
    Check,      // a check box
    BitList,    // a drop-down list of the bit's two texts
    ChoiceList, // a drop-down list of the node's choices
    KeyList,    // a drop-down list of the key functions of the variant's family
    Comment,    // printable ASCII, at most kCommentChars
    DtmfCode,   // DTMF digits, star, hash and space, at most kDtmfCodeChars
};

// Which radios a field is usable for; elsewhere it is disabled, shows its value and writes
// nothing.
enum class CFieldUse { Both, PmrOnly, LmrOnly };

struct CFormField {
    const char* group; // the group box around the field; null: none
    const char* label;
    const char* path; // below the form's node
    CFieldRule rule;
    int scale = 1;              // Factor: the value shown is value / scale
    const char* unit = "";      // of the value shown
    const char* name = nullptr; // the field in messages; null: the label
    CFieldUse use = CFieldUse::Both;
    const char* lmrLabel = nullptr; // the label on an LMR radio; null: the same
};

struct CFormDesc {
    CSettingForm form;
    const char* title; // the tab text or the dialog title, as the window shows it
    const char* node;  // the path of the form's node
    std::span<const CFormField> fields;
    int secondColumn; // index of the first field of the right-hand column; -1: one column
};

inline constexpr int kCommentChars = 16;
inline constexpr int kDtmfCodeChars = 24;
extern const char* const kDtmfChars; // "ABCDEF0123456789*# "

const CFormDesc& FormDescOf(CSettingForm form);
// The node of a field, null when the tree has none.
CNode* FieldNode(CNode* root, const CFormDesc& form, const CFormField& field);
std::string FieldPath(const CFormDesc& form, const CFormField& field);
std::string FieldLabel(const CFormField& field, int variant);
bool FieldEnabled(const CFormField& field, int variant);

// --- Number rules
// The text a number field shows for a value.
std::string NumberText(CFieldRule rule, int scale, int value);
// The value a typed text stands for: the scaled decimal of the text (0 for a text that is no
// number, "OFF" among them), kept within the range of an int.
int NumberCode(int scale, const std::string& text);

// --- Key lists
// "Moni" for "Moni(Audi)", any other text as it is.
std::string KeyMatchText(const std::string& text);
// The entry whose whole text matches the key's text (both read through KeyMatchText); -1 when
// none does (a key code without a text).
int KeyEntryIndex(const std::vector<std::string>& entries, const std::string& keyText);
// What a chosen entry stores: "Moni" in any letter case becomes "Moni(Audi)".
std::string KeyStoreText(const std::string& entry);

// --- Typing filters: characters outside allowed are removed; caret (a position in text) moves
// back by the characters removed before it. Then, beyond maxLength (0: no limit), the characters
// just before the caret go, the end of what was typed or pasted. True when something was removed.
bool FilterTyping(std::string& text, int& caret, const std::string& allowed,
                  std::size_t maxLength = 0);

// --- What a form shows
// The text a field shows: an edit's text, the list entry selected ("" for none) or the check
// box's state as the node's text ("ON"/"OFF").
std::string FieldText(CNode* root, const CFormDesc& form, const CFormField& field, int variant);
// The entries of a list field with the one selected.
CListEntries FieldListEntries(CNode* root, const CFormDesc& form, const CFormField& field,
                              int variant);
// Unit and range of an edit field ("0.0 to 25.5 s", "1 to 255 s; OFF = 0"); empty for others.
std::string FieldToolTip(CNode* root, const CFormDesc& form, const CFormField& field);
// The range of a number node shown divided by scale ("0 to 60 s", "0.02 to 0.30 s"; offZero: at
// least 1, with "; OFF = 0"), or of a frequency node as it may be typed; empty for other nodes.
std::string RangeToolTip(const CNode* node, int scale, const char* unit, bool offZero = false);
// A number text without the zeros that end its decimals ("3032.00000" as "3032", "25.500" as
// "25.5"); texts that are no number stay as they are.
std::string CompactNumber(std::string text);

// One label and value cell pair as the form shows it, with the group it stands in.
struct CFormCell {
    std::string group;
    std::string label;
    std::string value;
};
// Every field of a form in the form's order.
std::vector<CFormCell> FormCells(CNode* root, CSettingForm form, int variant);

// --- OK
// What a form's controls hold: (field path, text) for every field to write. The text is an
// edit's text, the chosen list entry ("" for none, which writes nothing) or "1"/"0" for a check
// box.
using CFormEntry = std::vector<std::pair<std::string, std::string>>;
// Stores the entry into the form's nodes in the form's order; fields the entry does not name
// and fields not usable for the variant are left as they are. Each result carries the node's
// path from the root; a number that was not taken as typed is adjusted (clamped, rounded, or
// 0 for a text that is no number).
std::vector<CFieldResult> ApplyFormEntry(CNode* root, CSettingForm form, int variant,
                                         const CFormEntry& entry);
// A status line naming the fields by their labels: "Adjusted: High Beep Frequency 3032 Hz";
// "Not taken: IF Frequency (MHz): fits no raster". Empty when every value was stored as given.
std::string FormOutcomeText(CNode* root, int variant, const std::vector<CFieldResult>& results);

// A form without its window: a dialog of labelled fields bound to values of the tree, as the
// settings pages and dialogs and the signalling row editors and dialogs show them. A form is a
// table of fields (group, label, node, kind); the functions below read it from the tree into
// the texts its controls show, store those texts back in the form's order, tell what OK made of
// them, and list its label and value cells for printing.
#pragma once

#include "sheets/channel_entry.h"

#include <span>
#include <string>
#include <vector>

class CNode;

// How a field shows its node's value and stores what its control holds.
enum class CFieldKind {
    // Edits that take any text.
    Timer,     // "OFF" for 0, else "%d.000"; typed text to whole units (not a number: 0)
    Whole,     // "%d.000", also for 0; typed text to whole units
    Count,     // "%d"; typed text to whole units
    Factor,    // value / scale with three decimals; typed text times scale
    Frequency, // the frequency node's own text; typed text through the node's rule
    Comment,   // printable ASCII, at most kCommentChars
    DtmfCode,  // DTMF digits, star, hash and space, at most kDtmfCodeChars
    // Edits that take digits and the point alone; a value the node adjusts keeps its reason.
    Tone,        // the node's text (a tone), stored as text
    Seconds,     // value / scale with three decimals, stored as a scaled decimal
    EvenSeconds, // Seconds clamped to 2..30 and made even (the two-tone notone timer)
    Code,        // a five-tone code: allowed characters only; "*" and "G" stand for the group tone
    // Choices.
    Check,   // a check box: "ON" or "OFF"
    List,    // a drop-down list, stored as the chosen text
    KeyList, // a drop-down list of the key functions of the variant's family
    Radio,   // one radio button for each of a bit's two texts, stored as the chosen text
    Lock,    // a check box of the window alone: while checked, `controls` is disabled
};

// Which radios a field is usable for; elsewhere it is disabled, shows its value and writes
// nothing.
enum class CFieldUse { Both, PmrOnly, LmrOnly };

struct CFieldDesc {
    const char* group; // the group box around the field, "" for none
    const char* label;
    const char* path; // below the form's node; "" for a Lock
    CFieldKind kind;
    int scale = 1;         // Factor, Seconds: the value shown is value / scale
    const char* unit = ""; // of the value shown
    const char* name = ""; // the field in messages, "": the label
    CFieldUse use = CFieldUse::Both;
    const char* lmrLabel = ""; // the label on an LMR radio, "": the same
    const char* subgroup = ""; // group box inside the group (or the form), "" for none
    // List: the texts of the codes first..last of `source` ("": the field's node), or every
    // choice of the node when first > last.
    int first = 1;
    int last = 0;
    const char* source = "";
    const char* allowed = "";   // Code: the characters kept as typed
    int maxLength = 0;          // Code: 0 for no limit
    bool keepWhenEmpty = false; // an emptied edit leaves the node as it is
    // Disabled and empty on the special row of its sheet (the group row of the receive sheets,
    // the DTMF format) and never stored there.
    bool notOnSpecialRow = false;
    bool beside = false;       // Check, Lock: beside the field before it
    const char* controls = ""; // Radio, Lock: the group disabled by the second text / a check

    constexpr CFieldDesc In(const char* g, const char* sub = "") const {
        CFieldDesc f = *this;
        f.group = g;
        f.subgroup = sub;
        return f;
    }
    constexpr CFieldDesc Named(const char* n) const {
        CFieldDesc f = *this;
        f.name = n;
        return f;
    }
    constexpr CFieldDesc NotOnSpecialRow() const {
        CFieldDesc f = *this;
        f.notOnSpecialRow = true;
        return f;
    }
    constexpr CFieldDesc KeptWhenEmpty() const {
        CFieldDesc f = *this;
        f.keepWhenEmpty = true;
        return f;
    }
    constexpr CFieldDesc Beside() const {
        CFieldDesc f = *this;
        f.beside = true;
        return f;
    }
    constexpr CFieldDesc Controls(const char* g) const {
        CFieldDesc f = *this;
        f.controls = g;
        return f;
    }
};

// How a form places its check boxes and tells what OK made of its fields.
enum class CFormStyle {
    Page,   // each check box a row; "Adjusted: High Beep Frequency 3032 Hz; Not taken: ..."
    Editor, // check boxes side by side below their group; " CH 2: 1st Frequency adjusted to ..."
};

struct CFormDesc {
    const char* title; // the tab text or the window title
    const char* node;  // the node the field paths start from; "" for a sheet row's editor
    std::span<const CFieldDesc> fields;
    int secondColumn = -1; // the first field of the right-hand column; -1: one column
    CFormStyle style = CFormStyle::Page;
};

// A form shown for one node: the node its field paths start from, the radio's variant (fields
// of the other family are disabled, key lists follow the family) and whether the node is the
// special row of its sheet.
struct CBoundForm {
    const CFormDesc* form;
    std::string base;
    int variant;
    bool specialRow = false;
};
// The form at its own node.
CBoundForm BindForm(const CFormDesc& form, int variant);

// What the controls show: one text per field ("ON"/"OFF" for check boxes, "" for an empty list
// or a field the special row lacks) and whether the field may be edited and is stored.
struct CFormState {
    std::vector<std::string> texts;
    std::vector<bool> enabled;
};

// A label and value cell pair as the form shows it, with the boxes it stands in.
struct CFormCell {
    std::string group;
    std::string subgroup;
    std::string label;
    std::string value;
};

inline constexpr int kCommentChars = 16;
inline constexpr int kDtmfCodeChars = 24;
extern const char* const kDtmfChars; // "ABCDEF0123456789*# "
extern const char* const kCheckOn;   // "ON"
extern const char* const kCheckOff;  // "OFF"

// --- Fields
// base + "." + path, or the path alone below the root.
std::string FieldPath(const CBoundForm& bound, const CFieldDesc& field);
// The node of a field, null when the tree has none (and for a Lock).
CNode* FieldNode(CNode* root, const CBoundForm& bound, const CFieldDesc& field);
std::string FieldLabel(const CFieldDesc& field, int variant);
bool FieldEnabled(const CFieldDesc& field, int variant);
// The text a field's control shows: an edit's text, the list entry selected ("" for none),
// "ON"/"OFF" for a check box.
std::string FieldText(CNode* root, const CBoundForm& bound, const CFieldDesc& field);
// What a list or the radio buttons of a field offer, and which entry shows the node's value.
CListEntries FieldEntries(CNode* root, const CBoundForm& bound, const CFieldDesc& field);
// Unit and range of an edit ("0.0 to 25.5 s", "1 to 255 s; OFF = 0"), the characters a code
// or a comment takes; empty for others.
std::string FieldToolTip(CNode* root, const CBoundForm& bound, const CFieldDesc& field);

// --- The whole form
CFormState ReadForm(CNode* root, const CBoundForm& bound);
// Stores the enabled fields in the form's order; a list without a choice keeps its value.
// Outcomes carry the path from the root; a number that was not taken as typed is adjusted
// (clamped, rounded, or 0 for a text that is no number), an emptied field kept when empty is
// refused (Empty).
std::vector<CFieldResult> ApplyForm(CNode* root, const CBoundForm& bound, const CFormState& state);
// The status line about what OK made of the fields of one or more forms, by their names as the
// forms show them and with their values as they show them now, in their units, in the style of
// the first form (where names the row or dialog of an editor). Empty when every value was
// stored as given.
std::string FormOutcomeText(CNode* root, std::span<const CBoundForm> forms,
                            const std::string& where, const std::vector<CFieldResult>& results);
// Every field but the Locks as the form shows it, for printing; a check box with texts of its
// own prints them.
std::vector<CFormCell> FormCells(CNode* root, const CBoundForm& bound);

// --- Rules of the texts
// The text a number field shows for a value.
std::string NumberText(CFieldKind kind, int scale, int value);
// The value a typed text stands for: the scaled decimal of the text (0 for a text that is no
// number, "OFF" among them), kept within the range of an int.
int NumberCode(int scale, const std::string& text);
// value / scale with three decimals ("0.250"; "7.000" with scale 1).
std::string TimerText(int value, int scale);
// The value a typed timer text stands for: the scaled-decimal rule (a text that is not a number
// gives 0); even: clamped to 2..30 and made even.
long long TimerValue(const std::string& text, int scale, bool even);
// Stores a typed timer text; adjusted (with the text the node now shows) when the value held is
// not the one typed: clamped by the node, rounded to its unit, made even, or not a number.
CSetResult SetTimerText(CNode* node, const std::string& text, int scale, bool even);
// The range of a number node shown divided by scale ("0 to 60 s", "0.02 to 0.30 s"; offZero: at
// least 1, with "; OFF = 0"), or of a frequency node as it may be typed; empty for other nodes.
std::string RangeToolTip(const CNode* node, int scale, const char* unit, bool offZero = false);
// A number text without the zeros that end its decimals ("3032.00000" as "3032", "25.500" as
// "25.5"); texts that are no number stay as they are.
std::string CompactNumber(std::string text);
// The text of the special group tone ("SpcTonGrp" of the five-tone transmit common settings).
std::string GroupToneText(CNode* root);
// A code as the sheets show it: every character of the group tone text shown as "*".
std::string ShowGroupTone(const std::string& code, const std::string& groupTone);
// A typed code as it is stored: every "*" and then every "G" replaced by the group tone text
// (kept when there is no group tone text).
std::string ExpandGroupTone(const std::string& code, const std::string& groupTone);

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

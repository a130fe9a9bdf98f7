// The settings forms' rules without a window: number texts, key lists, tool tips, the label and
// value cells, and what OK stores with the status line it gives.
#include "sheets/setting_forms.h"
#include "tests/radiomap/hub_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

using namespace testhub;

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;
using R = CFieldKind;
using F = CSettingForm;

const CFieldDesc& Field(F form, const std::string& path) {
    for (const CFieldDesc& f : FormDescOf(form).fields)
        if (path == f.path) return f;
    ADD_FAILURE() << "no field " << path;
    return FormDescOf(form).fields[0];
}

CBoundForm Bound(F form, int variant) { return BindForm(FormDescOf(form), variant); }

// OK of a form whose controls hold the entry's (path, text) pairs; the fields it leaves out are
// not written.
std::vector<CFieldResult>
ApplyEntry(CNode* root, F form, int variant,
           const std::vector<std::pair<std::string, std::string>>& entry) {
    const CBoundForm bound = Bound(form, variant);
    CFormState state = ReadForm(root, bound);
    for (std::size_t i = 0; i < bound.form->fields.size(); ++i) {
        const auto given = std::find_if(entry.begin(), entry.end(), [&](const auto& e) {
            return e.first == bound.form->fields[i].path;
        });
        state.enabled[i] = state.enabled[i] && given != entry.end();
        if (given != entry.end()) state.texts[i] = given->second;
    }
    return ApplyForm(root, bound, state);
}

std::string OutcomeText(CNode* root, F form, int variant, const std::vector<CFieldResult>& r) {
    const CBoundForm bound = Bound(form, variant);
    return FormOutcomeText(root, std::span(&bound, 1), {}, r);
}

} // namespace

TEST(SettingForms, NumberTextsAndTypedNumbers) {
    const struct {
        R rule;
        int scale, value;
        const char* shown;
    } shown[] = {{R::Timer, 1, 0, "OFF"},        {R::Timer, 1, 5, "5.000"},
                 {R::Whole, 1, 0, "0.000"},      {R::Count, 1, 12, "12"},
                 {R::Factor, 10, 255, "25.500"}, {R::Factor, 1000, 5, "0.005"},
                 {R::Factor, 100, 7, "0.070"},   {R::Factor, 1, 3, "3.000"}};
    for (const auto& c : shown)
        EXPECT_EQ(NumberText(c.rule, c.scale, c.value), c.shown) << c.shown;

    const struct {
        int scale;
        const char* typed;
        int code;
    } typed[] = {{1, "OFF", 0},    {1, "5.000", 5},      {1, " 7 ", 7},         {1, "", 0},
                 {10, "2.5", 25},  {100, "0.259", 25},   {1000, ".05", 50},     {1, "12abc", 12},
                 {1, "-5", -5},    {1, "1e30", INT_MAX}, {1, "-1e30", INT_MIN}, {100, "0.07", 7},
                 {10, "25.5", 255}};
    for (const auto& c : typed)
        EXPECT_EQ(NumberCode(c.scale, c.typed), c.code) << c.typed << " scale " << c.scale;
}

TEST(SettingForms, KeyListsMatchWholeTexts) {
    auto lmr = MakeHub(kLmr16);
    auto pmr = MakeHub(kPmr16);
    const CFieldDesc& red = Field(F::KeyDisplay, "KeyF0Conv");
    const CListEntries lmrList = FieldEntries(lmr->GetRoot(), Bound(F::KeyDisplay, kLmr16), red);
    const CListEntries pmrList = FieldEntries(pmr->GetRoot(), Bound(F::KeyDisplay, kPmr16), red);
    ASSERT_EQ(lmrList.texts.size(), 20u);
    ASSERT_EQ(pmrList.texts.size(), 22u);
    EXPECT_EQ(lmrList.texts[10], "Moni");
    EXPECT_EQ(pmrList.texts[10], "Moni(Audi)");

    const struct {
        const char* key;
        int lmr, pmr;
    } cases[] = {{"Prio A", 3, 3},       {"Prio A (Rewrite)", 4, 4},
                 {"Call", 17, 17},       {"Call A (Code 30)", -1, 18},
                 {"Moni(Audi)", 10, 10}, {"Moni", 10, 10},
                 {"Null", 0, 0},         {"", -1, -1},
                 {"Prio", -1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(KeyEntryIndex(lmrList.texts, c.key), c.lmr) << c.key;
        EXPECT_EQ(KeyEntryIndex(pmrList.texts, c.key), c.pmr) << c.key;
    }
    for (const auto& [entry, stored] :
         std::vector<std::pair<const char*, const char*>>{{"Moni", "Moni(Audi)"},
                                                          {"mONI", "Moni(Audi)"},
                                                          {"Moni(Audi)", "Moni(Audi)"},
                                                          {"Monitor", "Monitor"},
                                                          {"Call", "Call"}})
        EXPECT_EQ(KeyStoreText(entry), stored) << entry;

    // A key code without a text selects nothing.
    SetValue(*pmr, "CommonSet.KeyDisp.KeyF0Conv", 49);
    EXPECT_EQ(FieldEntries(pmr->GetRoot(), Bound(F::KeyDisplay, kPmr16), red).selected, -1);
    EXPECT_EQ(FieldText(pmr->GetRoot(), Bound(F::KeyDisplay, kPmr16), red), "");
}

TEST(SettingForms, EveryFieldHasItsNodeAndTheCellsReadAsTheFormShows) {
    for (int variant : {kLmr16, kPmr16}) {
        auto hub = MakeHub(variant);
        std::set<const CFormDesc*> forms;
        for (F form : {F::KeyDisplay, F::Common1, F::Common2, F::Expert, F::ScanSetting,
                       F::DtmfAutodial, F::Maker}) {
            const CFormDesc& desc = FormDescOf(form);
            forms.insert(&desc);
            for (const CFieldDesc& f : desc.fields) {
                EXPECT_NE(FieldNode(hub->GetRoot(), Bound(form, variant), f), nullptr)
                    << desc.title << f.path;
                const bool list = f.kind == R::List || f.kind == R::KeyList;
                if (list) {
                    EXPECT_GE(FieldEntries(hub->GetRoot(), Bound(form, variant), f).texts.size(),
                              2u)
                        << f.path;
                }
            }
        }
        EXPECT_EQ(forms.size(), 7u); // each form has a table of its own
    }

    auto hub = MakeHub(kLmr16);
    SetValue(*hub, "CommonSet.Common1.AutoResTimA", 0);
    SetValue(*hub, "CommonSet.Common1.AutoResTimB", 30);
    SetValue(*hub, "CommonSet.Common1.TotTim", 0);
    SetValue(*hub, "CommonSet.Common1.SqlLvl", 3);
    SetValue(*hub, "CommonSet.Common1.IdOut", 1);
    Node(*hub, "CommonSet.Common1.Comment1")->SetText("KT\x01Z30");
    const std::string inactive =
        FieldText(hub->GetRoot(), Bound(F::Common1, kLmr16), Field(F::Common1, "InATim"));
    const std::string beep = Node(*hub, "CommonSet.Common1.BeepOn")->GetText();
    const std::string penalty =
        FieldText(hub->GetRoot(), Bound(F::Common1, kLmr16), Field(F::Common1, "PenaltyTim"));
    const std::vector<std::vector<std::string>> expected = {
        {"", "Auto Reset Timer A", "OFF"}, {"", "Auto Reset Timer B", "30.000"},
        {"", "Inactive Timer", inactive},  {"", "SQL Level", "3"},
        {"TOT", "TOT Timer", "0.000"},     {"", "Penalty Timer", penalty},
        {"", "ID Out (DTMF)", "ON"},       {"", "Beep", beep},
        {"Clone Comment", "(1)", "KTZ30"}, {"Clone Comment", "(2)", ""},
    };
    std::vector<std::vector<std::string>> cells;
    for (const CFormCell& c : FormCells(hub->GetRoot(), Bound(F::Common1, kLmr16)))
        cells.push_back({c.group, c.label, c.value});
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(FormCells(hub->GetRoot(), Bound(F::Common1, kPmr16))[6].label, "ID Out");
}

TEST(SettingForms, ToolTipsGiveUnitAndRange) {
    auto hub = MakeHub(kPmr16);
    const struct {
        F form;
        const char* path;
        const char* tip;
    } cases[] = {
        {F::Common1, "AutoResTimA", "1 to 255 s; OFF = 0"},
        {F::Common1, "TotTim", "0 to 255 s"},
        {F::Common1, "SqlLvl", "0 to 255"},
        {F::Common1, "IdOut", ""},
        {F::ScanSetting, "StopTim", "0.0 to 25.5 s"},
        {F::Expert, "FastScnTim", "0.000 to 0.255 s"},
        {F::Expert, "BeepFreqH", "400 to 3000 Hz; the nearest tone the radio makes is kept"},
        {F::Maker, "DtcsDec", "12 to 23"},
        {F::Maker, "IfFreq", "-99.975 to 99.975 MHz; a multiple of 0.025"},
        {F::DtmfAutodial, "DTMFDial.AD1.Code", "Up to 24 DTMF digits: 0 to 9, A to F, * and #"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FieldToolTip(hub->GetRoot(), Bound(c.form, kPmr16), Field(c.form, c.path)), c.tip)
            << c.path;
}

TEST(SettingForms, OkStoresTheEntryAndNamesWhatWasAdjusted) {
    const struct {
        F form;
        int variant;
        const char* path; // below the form's node
        const char* typed;
        const char* text;   // the node's text afterwards, or its code where it has none
        const char* status; // "" when stored as typed; "-" when not written at all
    } cases[] = {
        {F::Common1, kPmr16, "AutoResTimA", "12.000", "12", ""},
        {F::Common1, kPmr16, "AutoResTimA", "300", "255", "Adjusted: Auto Reset Timer A 255 s"},
        {F::Common1, kPmr16, "AutoResTimA", "later", "0", "Adjusted: Auto Reset Timer A OFF"},
        {F::Common1, kPmr16, "SqlLvl", "abc", "0", "Adjusted: SQL Level 0"},
        // Numbers no value stands for are refused, not clamped or read as 0.
        {F::Common1, kPmr16, "AutoResTimA", "nan", "-",
         "Not taken: Auto Reset Timer A: not a number"},
        {F::Common1, kPmr16, "SqlLvl", "-inf", "-", "Not taken: SQL Level: not a number"},
        {F::ScanSetting, kPmr16, "StopTim", "1e308", "-", "Not taken: Stop Timer: not a number"},
        {F::DtmfAutodial, kPmr16, "DTMFCom.MarkTim", "0x1p3", "-",
         "Not taken: [*][#] Timer: not a number"},
        {F::Common1, kPmr16, "InATim", "9", "9", ""},
        {F::Common1, kLmr16, "InATim", "9", "-", "-"},
        {F::Common1, kPmr16, "Comment1", "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOP",
         "Adjusted: Clone Comment (1) ABCDEFGHIJKLMNOP"},
        {F::Common1, kPmr16, "Comment2", "Depot 7  ", "Depot 7", ""},
        {F::Common1, kPmr16, "IdOut", "ON", "ON", ""},
        {F::ScanSetting, kPmr16, "StopTim", "2.55", "25", "Adjusted: Stop Timer 2.5 s"},
        {F::ScanSetting, kPmr16, "StopTim", "-1", "0", "Adjusted: Stop Timer 0 s"},
        {F::ScanSetting, kPmr16, "Mode", "MODE2", "MODE2", ""},
        {F::ScanSetting, kLmr16, "AutChCal", "1", "-", "-"},
        {F::Expert, kPmr16, "BeepFreqH", "2900", "2880.00000",
         "Adjusted: High Beep Frequency 2880 Hz"},
        {F::Expert, kPmr16, "BeepFreqH", "3000", "3032.00000",
         "Adjusted: High Beep Frequency 3032 Hz"},
        {F::Expert, kPmr16, "BeepFreqL", "low", "-", "Not taken: Low Beep Frequency: not a number"},
        {F::Expert, kPmr16, "UsrCtcssFreq", "254.1", "254.30000",
         "Adjusted: User CTCSS Freq 254.3 Hz"},
        {F::KeyDisplay, kLmr16, "KeyF0Conv", "Moni", "Moni(Audi)", ""},
        {F::KeyDisplay, kPmr16, "KeyF1Conv", "", "-", "-"},
        {F::KeyDisplay, kPmr16, "RFPwrSel", "Override", "Override", ""},
        {F::DtmfAutodial, kLmr16, "DTMFDial.AD1.Code", "12#x", "12#", "Adjusted: Autodial 1 12#"},
        {F::DtmfAutodial, kPmr16, "DTMFDial.AD2.Code", "99", "-", "-"},
        {F::DtmfAutodial, kPmr16, "DTMFCom.MarkTim", "0.5", "50", ""},
        {F::Maker, kPmr16, "IfFreq", "46.351", "-", "Not taken: IF Frequency: fits no raster"},
        {F::Maker, kPmr16, "IfFreq", "-46.35", "-46.35000", ""},
        {F::Maker, kPmr16, "DtcsDec", "0", "12", "Adjusted: DTCS Decode 12"},
    };
    for (const auto& c : cases) {
        auto hub = MakeHub(c.variant);
        const CFormDesc& desc = FormDescOf(c.form);
        const std::string path = std::string(desc.node) + '.' + c.path;
        const std::string before = ValueText(*Node(*hub, path));
        const std::vector<CFieldResult> results =
            ApplyEntry(hub->GetRoot(), c.form, c.variant, {{c.path, c.typed}});
        const std::string after = ValueText(*Node(*hub, path));
        const std::string what = path + " <- \"" + c.typed + '"';
        if (std::string(c.status) == "-") {
            EXPECT_TRUE(results.empty()) << what;
            EXPECT_EQ(after, before) << what;
            continue;
        }
        ASSERT_EQ(results.size(), 1u) << what;
        EXPECT_EQ(results[0].node, path);
        EXPECT_EQ(results[0].given, c.typed);
        EXPECT_EQ(after, std::string(c.text) == "-" ? before : c.text) << what;
        EXPECT_EQ(OutcomeText(hub->GetRoot(), c.form, c.variant, results), c.status) << what;
    }

    // Fields the entry leaves out keep their values; outcomes are listed in the form's order.
    auto hub = MakeHub(kPmr16);
    SetValue(*hub, "CommonSet.Expert.FastScnTim", 40);
    const auto results = ApplyEntry(hub->GetRoot(), F::Expert, kPmr16,
                                    {{"PwrSavTim2", "999"}, {"BeepFreqH", "2900"}});
    EXPECT_EQ(Value(*hub, "CommonSet.Expert.FastScnTim"), 40);
    EXPECT_EQ(OutcomeText(hub->GetRoot(), F::Expert, kPmr16, results),
              "Adjusted: High Beep Frequency 2880 Hz, PWR Save Start Timer (2nd) 255 s");
}

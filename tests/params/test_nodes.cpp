// The node tree: child lookup with its cursor, paths, clamping, choices, copies and text rules.
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A tree owned by the test: Mch with CH0..CH3, each with a few value nodes.
struct Tree {
    std::vector<std::unique_ptr<CNode>> store;
    CNode root;
    template <class T, class... A> T* Add(CNode* parent, A&&... args) {
        auto n = std::make_unique<T>(std::forward<A>(args)...);
        T* p = n.get();
        store.push_back(std::move(n));
        parent->AddChild(p);
        return p;
    }
    Tree() {
        CNode* mch = Add<CNode>(&root, "Mch");
        for (int i = 0; i < 4; ++i) {
            CNode* ch = Add<CNode>(mch, ("CH" + std::to_string(i)).c_str());
            Add<CBitNode>(ch, "ChOn", "OFF", "ON");
            Add<CNumNode>(ch, "RPT", 0, 0, 0, 32)->Choices({{0, "OFF"}, {17, "17"}});
            Add<CStringNode>(ch, "Code", "");
        }
    }
};

// A combo box list for the accessors.
class FakeList : public IListControl {
public:
    std::vector<std::string> items;
    int sel = -1;
    void ResetContent() override {
        items.clear();
        sel = -1;
    }
    int AddString(const std::string& t) override {
        items.push_back(t);
        return static_cast<int>(items.size()) - 1;
    }
    int GetCount() const override { return static_cast<int>(items.size()); }
    std::string GetItemText(int i) const override { return items.at(static_cast<std::size_t>(i)); }
    int GetCurSel() const override { return sel; }
    void SetCurSel(int i) override { sel = i; }
};

} // namespace

TEST(NodeTree, FindChildWrapsFromTheCursor) {
    Tree t;
    CNode* ch = GetNode(&t.root, "Mch.CH2");
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->FindChild("ChOn"), ch->ChildAt(0));
    EXPECT_EQ(ch->FindChild("RPT"), ch->ChildAt(1));
    EXPECT_EQ(ch->FindChild("Code"), ch->ChildAt(2));
    EXPECT_EQ(ch->FindChild("ChOn"), ch->ChildAt(0)); // wraps round to the first
    EXPECT_EQ(ch->FindChild("Missing"), nullptr);
    EXPECT_EQ(ch->FindChild("RPT"), ch->ChildAt(1)); // cursor intact after a miss
    CNode leaf("Leaf");
    EXPECT_EQ(leaf.FindChild("x"), nullptr);
}

TEST(NodeTree, PathsResolveOrGiveNone) {
    Tree t;
    SetActiveRoot(&t.root);
    struct Case {
        const char* path;
        bool found;
        const char* name;
    };
    const Case cases[] = {
        {"", true, ""},           {"Mch", true, "Mch"},
        {"Mch.CH0", true, "CH0"}, {"Mch.CH3.RPT", true, "RPT"},
        {"mch", false, ""},       {"Mch.CH9", false, ""},
        {"Mch..CH0", false, ""},  {"Mch.CH0.RPT.x", false, ""},
        {".", false, ""},
    };
    for (const Case& c : cases) {
        CNode* n = GetNode(c.path);
        EXPECT_EQ(n != nullptr, c.found) << c.path;
        if (n) {
            EXPECT_EQ(n->GetName(), c.name);
        }
    }
    // Accessors on a missing child do nothing.
    CNode* ch = GetNode("Mch.CH1");
    SetValueByName(ch, "Nope", 3);
    EXPECT_EQ(GetValueByName(ch, "Nope"), 0);
    EXPECT_EQ(GetTextByName(nullptr, "RPT"), "");
    SetActiveRoot(nullptr);
}

TEST(ValueNodes, ClampingChoicesAndUnknownTexts) {
    CBitNode bit("ChOn", "OFF", "ON");
    bit.SetValue(5);
    EXPECT_EQ(bit.GetValue(), 1);
    bit.SetValue(-3);
    EXPECT_EQ(bit.GetValue(), 0);

    CNumNode rpt("RPT", 0, 0, 0, 32);
    rpt.AddChoice(0, "OFF");
    for (int i = 1; i <= 32; ++i)
        rpt.AddChoice(i, std::to_string(i));
    struct Case {
        int code;
        const char* text;
    };
    for (const Case& c : {Case{0, "OFF"}, Case{17, "17"}, Case{40, "32"}}) {
        rpt.SetValue(c.code);
        EXPECT_EQ(rpt.GetText(), c.text);
    }
    EXPECT_TRUE(rpt.SetText("5").Taken());
    EXPECT_EQ(rpt.GetValue(), 5);
    EXPECT_EQ(rpt.SetText("fifty").status, CSetStatus::Refused);
    EXPECT_EQ(rpt.GetValue(), 5); // a text that is no choice leaves the value

    CNumNode tone("CTonRx", 1000, 1000, 0, 5000);
    tone.AddChoice(1000, "OFF");
    tone.SetValue(2023); // a digital code without a text
    EXPECT_EQ(tone.GetValue(), 2023);
    EXPECT_EQ(tone.GetText(), "");
}

TEST(ValueNodes, NormalizePicksTheNearestValidCode) {
    CNumNode n("NoTonTim", 2, 2, 2, 30);
    EXPECT_EQ(n.Normalize(17), 17);
    EXPECT_EQ(n.Normalize(40), 2);
    CNumNode m("X", 0, 300, 0, 255);
    EXPECT_EQ(m.Normalize(-1), 0);
}

TEST(ValueNodes, CopiesShareChildrenAndCarryValuesAndChoices) {
    Tree t;
    CNode* src = GetNode(&t.root, "Mch.CH1");
    CNode copy("Copy");
    copy.CopyFrom(*src);
    EXPECT_EQ(copy.GetName(), "CH1");
    EXPECT_EQ(copy.GetLevel(), src->GetLevel() + 1);
    EXPECT_TRUE(copy.IsModified());
    SetValueByName(&copy, "RPT", 17);
    EXPECT_EQ(GetValueByName(src, "RPT"), 17); // the same child object

    CNumNode a("RPT", 0, 0, 0, 32);
    a.Choices({{0, "OFF"}, {17, "17"}});
    a.SetValue(17);
    CNumNode b;
    b.CopyFrom(a);
    EXPECT_EQ(b.GetText(), "17");
    EXPECT_EQ(b.GetMax(), 32);

    CStringNode s("Code", "");
    s.SetString("12AB  \t\n");
    EXPECT_EQ(s.GetString(), "12AB");
    CStringNode s2;
    s2.CopyFrom(s);
    EXPECT_EQ(s2.GetText(), "12AB");
    EXPECT_EQ(s2.GetName(), "Code");
}

TEST(ValueNodes, ChoicesEnumerateInCodeOrderForCombos) {
    Tree t;
    CNode* ch = GetNode(&t.root, "Mch.CH0");
    auto* rpt = static_cast<CNumNode*>(ch->FindChild("RPT"));
    rpt->Choices({{5, "5"}, {2, "2"}});
    rpt->SetValue(5);
    FakeList combo;
    FillComboWithChoices(ch, "RPT", combo);
    EXPECT_EQ(combo.items, (std::vector<std::string>{"OFF", "2", "5", "17"}));
    EXPECT_EQ(combo.sel, 2);
    combo.sel = 3;
    SetFromCombo(ch, "RPT", combo);
    EXPECT_EQ(rpt->GetValue(), 17);

    FakeList range;
    FillComboWithRange(ch, "RPT", range, 0, 6);
    EXPECT_EQ(range.items, (std::vector<std::string>{"OFF", "2", "5"}));
    EXPECT_EQ(rpt->GetValue(), 17); // restored
    FakeList bits;
    FillComboWithBit(ch, "ChOn", bits);
    EXPECT_EQ(bits.items, (std::vector<std::string>{"OFF", "ON"}));
    EXPECT_EQ(bits.sel, 0);
}

TEST(TextRules, KeepSubstituteAndScale) {
    std::string s = "12.5\tkHz";
    EXPECT_TRUE(KeepAllowedChars(s, kNumericChars));
    EXPECT_EQ(s, "12.5");
    std::string p = "Hello";
    EXPECT_FALSE(KeepPrintableChars(p));
    std::string q = "a\x01"
                    "b\x7F";
    EXPECT_TRUE(KeepPrintableChars(q));
    EXPECT_EQ(q, "ab");
    EXPECT_EQ(SubstituteChars("1*2#", "*#", "EF"), "1EF2EF");

    struct Case {
        const char* text;
        int scale;
        long long value;
    };
    const Case cases[] = {
        {"146.525", 1000, 146525}, {"0.5", 10, 5},   {"1.26", 10, 12},
        {"1.25", 10, 12},          {"abc", 10, 0},   {"  2.0", 100, 200},
        {"-1.5", 10, -15},         {"1e300", 10, 0},
    };
    for (const Case& c : cases) {
        if (std::string(c.text) == "1e300") {
            EXPECT_GT(ScaledDecimal(c.text, c.scale), 0); // saturates, no overflow
            continue;
        }
        EXPECT_EQ(ScaledDecimal(c.text, c.scale), c.value) << c.text;
    }
}

TEST(ClassRecords, NodesAreCreatedByName) {
    std::unique_ptr<CObjectBase> o(CClassRecord::CreateByName("CBitNode"));
    ASSERT_NE(o, nullptr);
    auto* bit = dynamic_cast<CBitNode*>(o.get());
    ASSERT_NE(bit, nullptr);
    EXPECT_EQ(bit->GetName(), "BitNode");
    EXPECT_EQ(bit->GetMax(), 1);
    EXPECT_TRUE(o->IsKindOf(KT_CLASS_RECORD(CNode)));
    EXPECT_EQ(o->GetClassRecord()->schema, 1u);
    EXPECT_EQ(CClassRecord::CreateByName("CNoSuchClass"), nullptr);
}

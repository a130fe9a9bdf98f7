// The document's one editing path: Edit gives the undo step and what became of every value,
// RestoreImage undoes it to the byte, and the change notice fires once per completed change.
#include <gtest/gtest.h>

#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "tests/support/variant_doc.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Assignment {
    const char* path;
    const char* text; // null: the code
    int code;
};

struct Expect {
    CSetStatus status;
    CSetReason reason;
    const char* stored;
    const char* detail;
    const char* note = "";
};

class DocumentEdit : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override { ResetPlatform(); }

    // A document of the variant with channel 1 on, and the notices it fires from then on.
    std::unique_ptr<CZ30Doc> MakeDoc(int variant) {
        auto doc = VariantDoc(variant);
        doc->Edit("on", [](CNode&, CEditReport& r) { r.SetText("Mch.CH1.ChOn", "ON"); });
        doc->SetModifiedFlag(false);
        doc->Subscribe([this](const CChangeNotice& n) { notices.push_back(n); });
        return doc;
    }
    static CEditStep Set(CZ30Doc& doc, const std::vector<Assignment>& list) {
        return doc.Edit("set", [&](CNode&, CEditReport& r) {
            for (const Assignment& a : list)
                a.text ? r.SetText(a.path, a.text) : r.SetCode(a.path, a.code);
        });
    }

    std::vector<CChangeNotice> notices;
};

} // namespace

TEST_F(DocumentEdit, EveryValueSaysWhatBecameOfIt) {
    using S = CSetStatus;
    using W = CSetReason;
    struct Case {
        int variant;
        Assignment set;
        Expect expect;
    };
    const Case cases[] = {
        {5, {"Mch.CH1.FreqRx", "446.1", 0}, {S::Stored, W::None, "446.10000", ""}},
        {5, {"Mch.CH1.FreqRx", "446.1031", 0}, {S::Adjusted, W::Snapped, "446.10312", ""}},
        {5, {"Mch.CH1.FreqRx", nullptr, 446100600}, {S::Adjusted, W::ImageForm, "446.10000", ""}},
        {5, {"Mch.CH1.FreqRx", "446,1", 0}, {S::Stored, W::None, "446.10000", ""}},
        {5, {"Mch.CH1.FreqRx", "446,1.0", 0}, {S::Refused, W::NotANumber, "0.00000", ""}},
        {5, {"Mch.CH1.RfPwr", "Max", 0}, {S::Refused, W::NotAChoice, "High", ""}},
        {5, {"Mch.CH1.Nope", "1", 0}, {S::Refused, W::UnknownPath, "", ""}},
        {5,
         {"Mch.CH2.FreqRx", "446.2", 0},
         {S::NotKept, W::ChannelOff, "446.20000", "channel 2 is off; set Mch.CH2.ChOn=ON first"}},
        {5, {"Mch.CH1.2Ton", "1", 0}, {S::NotKept, W::OtherFamily, "1", "not used by PMR radios"}},
        {4,
         {"5ToneCodeCH.TXCodeCH.CH1.TxCode", "123", 0},
         {S::NotKept, W::OtherFamily, "123", "not used by LMR radios"}},
        // Stored, with a note (below): every channel record is stored, whatever the variant.
        {1,
         {"Mch.CH30.ChOn", "ON", 0},
         {S::Stored, W::None, "ON", "", "stored, the radio does not use that channel"}},
        {5,
         {"CommonSet.Common1.Comment1", "ABCDEFGHIJKLMNOPQRST", 0},
         {S::Adjusted, W::ImageForm, "ABCDEFGHIJKLMNOP", ""}},
        {5, {"CommonSet.Common1.Comment1", "ABC  ", 0}, {S::Adjusted, W::Trimmed, "ABC", ""}},
        {5, {"CommonSet.Expert.BeepFreqH", "2000", 0}, {S::Adjusted, W::Snapped, "1986.00000", ""}},
        {4,
         {"2ToneCodeCH.RXCodeCH.CH1.1stFreq", "1000", 0},
         {S::Stored, W::None, "1000.00000", ""}},
        // The tone moves to the middle of the decode window it sets.
        {4,
         {"2ToneCodeCH.RXCodeCH.CH1.1stFreq", "1500.3", 0},
         {S::Adjusted, W::Centred, "1500.50000", ""}},
    };
    for (const Case& c : cases) {
        auto doc = MakeDoc(c.variant);
        const CEditStep step = Set(*doc, {c.set});
        ASSERT_EQ(step.outcomes.size(), 1u);
        const CSetResult& r = step.outcomes[0].result;
        const std::string what = std::to_string(c.variant) + " " + c.set.path;
        EXPECT_EQ(r.status, c.expect.status) << what << ": " << SetStatusWord(r.status);
        EXPECT_EQ(r.reason, c.expect.reason) << what << ": " << SetReasonText(r.reason);
        EXPECT_EQ(r.stored, c.expect.stored) << what;
        EXPECT_EQ(r.detail, c.expect.detail) << what;
        EXPECT_EQ(step.outcomes[0].note, c.expect.note) << what;
        EXPECT_EQ(step.AllTaken(), r.Taken()) << what;
        // The image changes only for what it keeps (channels beyond the variant are stored but
        // never used), and only then is the document modified.
        const bool keeps = r.Taken();
        if (keeps) {
            EXPECT_TRUE(step.Changed()) << what;
        } else if (c.expect.reason != W::BeyondChannels) {
            EXPECT_FALSE(step.Changed()) << what;
        }
        EXPECT_EQ(doc->IsModified(), step.Changed()) << what;
        ASSERT_EQ(notices.size(), 1u) << what;
        EXPECT_EQ(notices[0].reason, CChangeReason::Edit);
        notices.clear();
    }
}

TEST_F(DocumentEdit, AnEditIsOneStepThatUndoesToTheByte) {
    auto doc = MakeDoc(5);
    const std::uint64_t revision = doc->Revision();
    const std::vector<std::uint8_t> start = doc->ImageBytes();
    const CEditStep step = doc->Edit(
        "channel 3",
        [](CNode&, CEditReport& r) {
            r.SetText("Mch.CH3.ChOn", "ON");
            r.SetText("Mch.CH3.FreqRx", "446.00625");
            r.SetText("Mch.CH3.Moni", "Aud");
        },
        "Mch.CH3");
    EXPECT_EQ(step.label, "channel 3");
    EXPECT_EQ(step.before, start);
    EXPECT_EQ(step.after, doc->ImageBytes());
    EXPECT_TRUE(step.Changed());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].path, "Mch.CH3");
    EXPECT_EQ(notices[0].revision, revision + 1);

    doc->RestoreImage(step.before, CChangeReason::UndoRedo);
    EXPECT_EQ(doc->ImageBytes(), start);
    EXPECT_EQ(GetNode(doc->GetRoot(), "Mch.CH3.ChOn")->GetText(), "OFF");
    doc->RestoreImage(step.after, CChangeReason::UndoRedo);
    EXPECT_EQ(doc->ImageBytes(), step.after);
    EXPECT_EQ(GetNode(doc->GetRoot(), "Mch.CH3.FreqRx")->GetText(), "446.00625");
    EXPECT_EQ(GetNode(doc->GetRoot(), "Mch.CH3.Moni")->GetText(), "Aud");
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[2].reason, CChangeReason::UndoRedo);
    EXPECT_EQ(notices[2].path, "");
    EXPECT_EQ(doc->Revision(), revision + 3);

    doc->RestoreImage({1, 2, 3}, CChangeReason::UndoRedo); // not an image: ignored
    EXPECT_EQ(doc->ImageBytes(), step.after);
    EXPECT_EQ(notices.size(), 3u);
}

TEST_F(DocumentEdit, LoadNewAndModelChangeNotifyOnceAndSubscribersCanLeave) {
    const fs::path file = fs::temp_directory_path() / ("kt-notice-" + std::to_string(::getpid()));
    auto doc = MakeDoc(3);
    ASSERT_TRUE(doc->SaveFile(file.string(), nullptr));
    int second = 0;
    int id = 0;
    id = doc->Subscribe([&](const CChangeNotice&) {
        ++second;
        doc->Unsubscribe(id);
    });
    doc->LoadFile(file.string());
    doc->OnFileNew();
    doc->GetCloneManager()->GetModelManager()->ChangeModel(4, false);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].reason, CChangeReason::Load);
    EXPECT_EQ(notices[1].reason, CChangeReason::New);
    EXPECT_EQ(notices[2].reason, CChangeReason::ModelChange);
    EXPECT_EQ(notices[2].revision, notices[0].revision + 2);
    EXPECT_EQ(second, 1);
    fs::remove(file);
}

// What the image keeps: the radio map's keep query agrees with what the codecs and the image
// fix-up actually store, for every node of every variant.
#include "hub_fixture.h"
#include "radiomap/z30_adjust_data_manager.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace testhub;

namespace {

void Leaves(CNode* node, const std::string& path, std::vector<std::string>* out) {
    for (CNode* child : node->Children()) {
        const std::string p = path.empty() ? child->GetName() : path + "." + child->GetName();
        if (child->ChildCount() == 0)
            out->push_back(p);
        else
            Leaves(child, p, out);
    }
}

// Values worth trying on a node: its choices and the ends and middle of its range, or strings.
std::vector<std::string> Trials(CNode* node) {
    std::vector<std::string> out;
    if (auto* v = dynamic_cast<CChoiceValue*>(node)) {
        std::set<int> codes = {v->GetMin(), v->GetMax(), (v->GetMin() + v->GetMax()) / 2,
                               v->GetMin() + 1, v->GetMax() - 1};
        for (const CChoice& c : v->Choices())
            codes.insert(c.code);
        for (int c : codes)
            out.push_back(":" + std::to_string(c));
    } else {
        out = {"0", "1", "5", "12", "A", "9999999"};
    }
    return out;
}

// A channel subset per variant: the first, one switched off, the last used, one beyond.
std::vector<int> Channels(int variant) {
    if (variant / 2 == 0) return {1, 2};
    if (variant / 2 == 1) return {1, 2, 3};
    return {1, 9, 16, 17};
}

} // namespace

TEST(KeepQuery, AgreesWithWhatTheSavedImageHolds) {
    for (int variant = 0; variant < 6; ++variant) {
        auto* adjust = new CZ30AdjustDataManager;
        auto hub = MakeHub(variant, adjust);
        CZ30RadioDataManager* data = RadioData(*hub);
        const int used = variant / 2 == 0 ? 1 : variant / 2 == 1 ? 2 : 16;
        for (int ch = 1; ch <= 36; ++ch)
            SetValue(*hub, "Mch.CH" + std::to_string(ch) + ".ChOn", ch <= used && ch != 9);
        // Tree to image tells quickly; the fix-up of a save confirms what it changed.
        auto encoded = [&] {
            hub->TreeToImage();
            CByteImage image;
            image.CopyFrom(*hub->GetImage());
            return image;
        };
        auto fixed = [&](CByteImage image) {
            adjust->FixUpImage(image);
            return image;
        };
        const CByteImage base = encoded();
        const CByteImage baseFixed = fixed(base);
        std::vector<std::string> paths;
        Leaves(hub->GetRoot(), "", &paths);
        std::set<std::string> channelPrefixes = {"Mch.CH0."};
        for (int ch : Channels(variant))
            channelPrefixes.insert("Mch.CH" + std::to_string(ch) + ".");
        for (const std::string& path : paths) {
            const std::size_t second = path.find('.', path.find('.') + 1);
            if (path.rfind("Mch.CH", 0) == 0 && !channelPrefixes.count(path.substr(0, second + 1)))
                continue;
            const CKeep keep = data->Keeps(path);
            if (keep.reason == CSetReason::BeyondChannels) continue; // stored, but never used
            CNode* node = Node(*hub, path);
            const std::string before = ValueText(*node);
            const int code = node->GetValue();
            bool stored = false;
            for (const std::string& t : Trials(node)) {
                if (t[0] == ':')
                    node->SetValue(std::stoi(t.substr(1)));
                else
                    node->SetText(t);
                data->UpdateDependents(path);
                const CByteImage image = encoded();
                stored = !(image == base) && !(fixed(image) == baseFixed);
                if (stored) break;
            }
            if (dynamic_cast<CStringNode*>(node))
                node->SetText(before);
            else
                node->SetValue(code);
            data->UpdateDependents(path);
            EXPECT_EQ(stored, keep.Kept())
                << "variant " << variant << " " << path << ": " << keep.detail;
        }
    }
}

TEST(KeepQuery, SaysWhyInWords) {
    struct Case {
        int variant;
        const char* path;
        CSetReason reason;
        const char* detail;
    };
    const Case cases[] = {
        {5, "Mch.CH1.FreqRx", CSetReason::ChannelOff,
         "channel 1 is off; set Mch.CH1.ChOn=ON first"},
        {5, "Mch.CH1.ChOn", CSetReason::None, ""},
        {5, "Mch.CH1.2Ton", CSetReason::OtherFamily, "not used by PMR radios"},
        {4, "Mch.CH1.Moni", CSetReason::OtherFamily, "not used by LMR radios"},
        {1, "2ToneCodeCH.RXCodeCH.CH1.1stFreq", CSetReason::OtherFamily, "not used by PMR radios"},
        {0, "5ToneCodeCH.TXCodeCH.CH3.TxCode", CSetReason::OtherFamily, "not used by LMR radios"},
        {0, "Mch.CH30.ChOn", CSetReason::BeyondChannels, "this radio has 1 channel"},
        {3, "Mch.CH3", CSetReason::BeyondChannels, "this radio has 2 channels"},
        {4, "Mch.CH16.ChOn", CSetReason::None, ""},
        {4, "Mch.CH0.FreqRx", CSetReason::DefaultChannel,
         "the default channel is a template, not stored in the radio"},
        {4, "Mch.BnkSet", CSetReason::NotStored, "not stored in the radio"},
        {4, "Mch.PrioA", CSetReason::None, ""},
        {4, "ScanList.ScanCom.AutChCal", CSetReason::OtherFamily, "not used by LMR radios"},
        {5, "ScanList.ScanCom.AutChCal", CSetReason::None, ""},
    };
    for (const Case& c : cases) {
        auto hub = MakeHub(c.variant);
        const CKeep keep = RadioData(*hub)->Keeps(c.path);
        EXPECT_EQ(keep.reason, c.reason) << c.variant << " " << c.path;
        EXPECT_EQ(keep.detail, c.detail) << c.variant << " " << c.path;
    }
}

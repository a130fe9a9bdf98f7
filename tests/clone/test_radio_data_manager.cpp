// The generic radio data manager's search for the settings a byte holds, on a map of four bytes.
#include "clone/radio_data_manager.h"
#include "params/value_nodes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// "A" is byte 0; "B" the low nibble of byte 1, read only while "On" (byte 2, bit 0) is set, which
// the live image has clear and the map's live tree sets; "C" is byte 3, which the image does not
// keep.
class CFourByteMap : public CRadioDataManager {
public:
    void BuildTree() override {
        for (const char* name : {"A", "B", "On", "C"})
            New<CNumNode>(GetRoot(), name, 0, 0, 0, 255);
    }
    int ImageToTree(CNode* root, CByteImage& image) override {
        const int on = image.ReadBit(2, 0);
        root->FindChild("A")->SetValue(image.ReadByte(0));
        root->FindChild("B")->SetValue(on ? image.ReadByte(1) & 0x0F : 0);
        root->FindChild("On")->SetValue(on);
        root->FindChild("C")->SetValue(image.ReadByte(3));
        return 1;
    }
    int TreeToImage(CNode* root, CByteImage& image) override {
        image.WriteByte(0, std::uint8_t(root->FindChild("A")->GetValue()));
        image.WriteByte(1, std::uint8_t(root->FindChild("B")->GetValue()));
        image.WriteBit(2, 0, root->FindChild("On")->GetValue() != 0);
        return 1;
    }
    CKeep Keeps(const std::string& path) override {
        return path == "C" ? CKeep{CSetReason::NotStored, {}} : CKeep{};
    }
    std::unique_ptr<CRadioDataManager> NewScratch(int variant) override {
        auto scratch = std::make_unique<CFourByteMap>();
        scratch->MakeScratch(GetOwner(), variant);
        return scratch;
    }

protected:
    const CByteImage* LiveImage(int) const override { return &m_live; }
    void MakeLive(CNode* root) override { root->FindChild("On")->SetValue(1); }

private:
    CByteImage m_live{4};
};

} // namespace

TEST(RadioDataManager, EachByteNamesTheSettingsTheLiveMapReadsFromIt) {
    using Paths = std::vector<std::string>;
    const std::vector<std::uint32_t> addresses = {0, 1, 2, 3, 4};
    const std::vector<Paths> expected = {{"A"}, {"B"}, {"On"}, {}, {}};
    CFourByteMap map;
    map.BuildTree();
    EXPECT_EQ(map.NodePathsAt(addresses), expected);
    EXPECT_EQ(map.NodePathsAt({2, 0}), (std::vector<Paths>{{"On"}, {"A"}}));
    // A manager without a map names nothing.
    EXPECT_EQ(CRadioDataManager().NodePathsAt(addresses), std::vector<Paths>(5));
}

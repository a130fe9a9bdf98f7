// Comparing images: pairs of documents edited apart, and what the comparison lists of them.
#include "app/image_compare.h"
#include "params/node_access.h"
#include "tests/support/variant_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A's variant, B's variant, what B gets set (path=text, or @address=byte), the listing expected.
struct CPairCase {
    const char* name;
    int variantA, variantB;
    std::vector<std::string> editsB;
    std::vector<std::string> lines;
    bool adjust = false;
};

std::vector<std::uint8_t> Edited(int variant, const std::vector<std::string>& edits) {
    auto doc = VariantDoc(variant);
    doc->Edit("test", [&](CNode&, CEditReport& report) {
        for (const std::string& e : edits)
            if (e[0] != '@') report.SetText(e.substr(0, e.find('=')), e.substr(e.find('=') + 1));
    });
    std::vector<std::uint8_t> bytes = doc->ImageBytes();
    for (const std::string& e : edits)
        if (e[0] == '@')
            bytes[std::stoul(e.substr(1), nullptr, 16)] =
                static_cast<std::uint8_t>(std::stoul(e.substr(e.find('=') + 1), nullptr, 16));
    return bytes;
}

TEST(ImageCompare, PairsListWhatDiffersInTreeOrder) {
    const CPairCase cases[] = {
        {"equal", 5, 5, {}, {}},
        {"three values in two groups",
         5,
         5,
         {"Mch.CH4.ChOn=ON", "Mch.CH4.FreqRx=446.1", "CommonSet.Common1.Comment1=SHOP"},
         {"Mch.CH4.ChOn\tOFF\tON", "Mch.CH4.FreqRx\t0.00000\t446.10000",
          "CommonSet.Common1.Comment1\t\tSHOP"}},
        {"a channel beyond the variant's is not compared", 1, 1, {"Mch.CH2.ChOn=ON"}, {}},
        {"a channel off on both sides is equal", 5, 5, {"@0231=00", "@0234=12"}, {}},
        {"a byte no value covers", 5, 5, {"@0624=12"}, {"0x0624\t00\t12"}},
        {"adjust area only when asked", 5, 5, {"@000F=14", "@0060=AA"}, {}},
        {"adjust area asked",
         5,
         5,
         {"@000F=14", "@0060=AA"},
         {"MakerR.NoisDetTim\t10\t20", "0x0060\t00\tAA"},
         true},
        {"the variant first, then what both have", 5, 3, {}, {"Variant\tPMR 16CH\tPMR 2CH"}},
        {"LMR 1CH and 16CH", 0, 4, {}, {"Variant\tLMR 1CH\tLMR 16CH"}},
    };
    auto docA = VariantDoc(5);
    CImageComparer comparer(docA->GetCloneManager()->GetRadioDataManager());
    for (const CPairCase& c : cases) {
        const std::vector<CDifference> list = comparer.Compare(
            Edited(c.variantA, {}), Edited(c.variantB, c.editsB), CCompareOptions{c.adjust});
        std::vector<std::string> lines;
        for (const CDifference& d : list)
            lines.push_back(DifferenceLine(d, false));
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(DifferenceSummary(list) == "no differences", list.empty()) << c.name;
    }
}

TEST(ImageCompare, FamiliesApartShowTheVariantThenBytesBothLeaveUncovered) {
    auto doc = VariantDoc(5);
    CImageComparer comparer(doc->GetCloneManager()->GetRadioDataManager());
    const std::vector<CDifference> list = comparer.Compare(Edited(5, {}), Edited(4, {}));
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(DifferenceLine(list.front(), false), "Variant\tPMR 16CH\tLMR 16CH");
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_EQ(list[i].kind, CDifference::Kind::Byte) << list[i].path;
    EXPECT_EQ(DifferenceSummary(list).rfind(
                  std::to_string(list.size()) + " differences: 1 in Variant, ", 0),
              0u);
}

} // namespace

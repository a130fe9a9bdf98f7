// Which settings a byte of the image holds, as a failed verification names them.
#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testhub;

TEST(AddressMap, EachByteNamesTheSettingsItHolds) {
    using Paths = std::vector<std::string>;
    struct Case {
        int variant;
        std::uint32_t address;
        Paths paths;
    };
    const Case cases[] = {
        // A channel record: frequency digits, a byte shared by two tone codes, flag bytes.
        {4, 0x0229, {"Mch.CH3.FreqRx"}},
        {4, 0x0228, {"Mch.CH3.FreqRx", "Mch.CH3.InhCh"}},
        {4, 0x0207, {"Mch.CH1.CTonRx", "Mch.CH1.CTonTx"}},
        {4, 0x0234, {"Mch.CH3.WidNar"}},
        // The last byte of a record: the two-tone number on LMR, the code numbers on PMR; the
        // other family's fields are left out.
        {4, 0x0213, {"Mch.CH1.2Ton"}},
        {5, 0x0213, {"Mch.CH1.RxCNo1", "Mch.CH1.RxCNo2", "Mch.CH1.RxCNo3"}},
        {4, 0x0210, {}},
        {5, 0x0210, {"Mch.CH1.RPT", "Mch.CH1.RPTLng"}},
        // Settings that count only with others set: the emergency channel, the comments.
        {4, 0x0073, {"Mch.Emr"}},
        {4, 0x0101, {"CommonSet.Common1.Comment1"}},
        {4, 0x0094, {"CommonSet.Common1.TotTim"}},
        // Channels beyond the variant's are named all the same: the write sent their bytes.
        {0, 0x0229, {"Mch.CH3.FreqRx"}},
    };
    for (int variant = 0; variant < kVariantCount; ++variant) {
        auto hub = MakeHub(variant);
        std::vector<std::uint32_t> addresses;
        std::vector<const Case*> mine;
        for (const Case& c : cases)
            if (c.variant == variant) {
                addresses.push_back(c.address);
                mine.push_back(&c);
            }
        if (mine.empty()) continue;
        const auto found = RadioData(*hub)->NodePathsAt(addresses);
        ASSERT_EQ(found.size(), mine.size());
        for (std::size_t i = 0; i < mine.size(); ++i)
            EXPECT_EQ(found[i], mine[i]->paths) << variant << " " << std::hex << mine[i]->address;
        // Asked again, the same answer (from what was found the first time).
        EXPECT_EQ(RadioData(*hub)->NodePathsAt(addresses), found);
    }
}

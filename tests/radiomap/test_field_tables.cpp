// The walk over every record of every field table: each value at its extremes and in the middle
// is encoded and decoded back, and no two records of a section claim the same bit.
#include "hub_fixture.h"
#include "radiomap/memory_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace radiomap;
using namespace testhub;

namespace {

int Mask(const CPlace& p) { return (1 << p.width) - 1; }

std::vector<int> Spread(int lo, int hi) { return {lo, lo + (hi - lo) / 2, hi}; }

// The values a record is tried with: the ends of what its rule stores and one between; where a
// function makes the rule, what the ends and the middle of the stored bits read as.
std::vector<int> Probes(const CField& f, CByteImage& image, std::uint32_t base, CNode* parent,
                        const CFieldSection& section, const CZ30RadioDataManager& map, bool pmr) {
    const CRule& r = f.rule;
    switch (r.kind) {
    case CRuleKind::Plain:
        return Spread(0, Mask(f.place));
    case CRuleKind::Range:
        return Spread(r.lo, r.hi);
    case CRuleKind::Pattern:
        return Spread(0, r.pattern->codes - 1);
    case CRuleKind::HexDigit:
    case CRuleKind::Text: // a digit's value, a text's length
        return Spread(0, r.hi);
    case CRuleKind::KeyCode: {
        std::vector<int> offered;
        for (int code = 0; code < 256; ++code)
            if (AllowedKeyCode(code, pmr) == code) offered.push_back(code);
        return {offered.front(), offered[offered.size() / 2], offered.back()};
    }
    default: {
        std::vector<int> read;
        for (int raw : Spread(r.kind == CRuleKind::Divider ? 1 : 0, Mask(f.place))) {
            WritePlace(image, base, f.place, raw);
            DecodeFields(image, base, parent, section, map);
            read.push_back(parent->FindChild(f.name)->GetValue());
        }
        return read;
    }
    }
}

// Sets the node to v and gives what it then holds; a text node holds the hexadecimal digit, or
// v characters of which the last is not blank.
std::string Put(CNode* node, const CRule& r, int v) {
    if (r.kind == CRuleKind::HexDigit || r.kind == CRuleKind::Text) {
        node->SetText(r.kind == CRuleKind::Text ? std::string(std::size_t(v), '~')
                                                : std::string(1, kUpperHexDigits[v]));
        return node->GetText();
    }
    node->SetValue(v);
    return std::to_string(node->GetValue());
}

std::string Held(CNode* node, const CRule& r) {
    return r.kind == CRuleKind::HexDigit || r.kind == CRuleKind::Text
               ? node->GetText()
               : std::to_string(node->GetValue());
}

// Moves the node off the value it holds, so that only decoding can bring the value back.
void Disturb(CNode* node, const CRule& r) {
    if (r.kind == CRuleKind::HexDigit || r.kind == CRuleKind::Text) {
        node->SetText(r.kind == CRuleKind::Text && node->GetText().empty() ? "A" : "");
        return;
    }
    auto* range = dynamic_cast<CRangeValue*>(node);
    ASSERT_NE(range, nullptr);
    node->SetValue(node->GetValue() == range->GetMin() ? range->GetMax() : range->GetMin());
}

TEST(FieldTables, EveryValueComesBackAndNoBitIsClaimedTwice) {
    for (int variant : {0, 1}) {
        const bool pmr = variant % 2 != 0;
        const CFamily other = pmr ? kLmr : kPmr;
        auto hub = MakeHub(variant);
        const CZ30RadioDataManager& map = *RadioData(*hub);
        CByteImage& image = *hub->GetImage();
        const CByteImage& factory = *hub->GetDefaultDataManager()->DefaultImage(variant);
        for (const CFieldSection* section : kFieldSections) {
            const std::uint32_t base = section->base;
            CNode* parent = Node(*hub, section->node);
            ASSERT_NE(parent, nullptr) << section->node;
            std::map<std::pair<std::uint32_t, unsigned>, std::string> claimed;
            for (CFields table : section->tables) {
                for (const CField& f : table) {
                    if (f.family == other || f.rule.kind == CRuleKind::Hand) continue;
                    const std::string where =
                        std::string(section->node) + "." + (f.name ? f.name : "(content)");
                    SCOPED_TRACE(where + (pmr ? " PMR" : " LMR"));
                    ForEachBit(f.place, base, [&](std::uint32_t a, unsigned bit) {
                        const auto [it, fresh] = claimed.emplace(std::pair(a, bit), where);
                        EXPECT_TRUE(fresh) << "bit " << bit << " of 0x" << std::hex << a
                                           << " also claimed by " << it->second;
                    });
                    if (f.rule.kind == CRuleKind::Pattern) {
                        EXPECT_EQ(f.rule.pattern->patterns, 1 << f.place.width);
                    }

                    CNode* node = f.name ? parent->FindChild(f.name) : nullptr;
                    if (f.name) {
                        ASSERT_NE(node, nullptr);
                    }
                    for (std::uint32_t a = 0; a < image.Size(); ++a)
                        image.WriteByte(a, 0x5A);
                    if (!node || f.rule.kind == CRuleKind::Factory) {
                        // Content no value holds: the factory bits or the fixed pattern.
                        EncodeFields(image, base, parent, *section, map);
                        EXPECT_EQ(ReadPlace(image, base, f.place),
                                  f.rule.kind == CRuleKind::Factory
                                      ? ReadPlace(factory, base, f.place)
                                      : f.rule.lo & Mask(f.place));
                        continue;
                    }
                    if (f.rule.kind == CRuleKind::Flag) {
                        for (int v : {0, 1, 3}) {
                            node->SetValue(v);
                            EncodeFields(image, base, parent, *section, map);
                            EXPECT_EQ(ReadPlace(image, base, f.place), v != 0 ? 1 : 0);
                        }
                        continue;
                    }
                    if (f.place.width == 0) { // not stored: always reads as the same value
                        Disturb(node, f.rule);
                        DecodeFields(image, base, parent, *section, map);
                        EXPECT_EQ(node->GetValue(), f.rule.lo);
                        continue;
                    }
                    for (int v : Probes(f, image, base, parent, *section, map, pmr)) {
                        const std::string held = Put(node, f.rule, v);
                        EncodeFields(image, base, parent, *section, map);
                        Disturb(node, f.rule);
                        DecodeFields(image, base, parent, *section, map);
                        EXPECT_EQ(Held(node, f.rule), held) << "value " << v;
                    }
                }
            }
        }
    }
}

} // namespace

namespace {

// Every value of the tree as "path=text", for comparing whole trees.
void Values(CNode* node, const std::string& path, std::vector<std::string>& out) {
    for (CNode* child : node->Children()) {
        const std::string p = path + "." + child->GetName();
        if (child->ChildCount() == 0) out.push_back(p + "=" + child->GetText());
        Values(child, p, out);
    }
}

// A section's items by index: a number beyond its items, or below them, codes nothing either way.
TEST(SectionCodecs, AnIndexOutsideTheItemsCodesNothing) {
    for (int variant : {0, 1}) {
        auto hub = MakeHub(variant);
        CZ30RadioDataManager& map = *RadioData(*hub);
        CNode* root = hub->GetRoot();
        CByteImage& image = *hub->GetImage();
        std::vector<std::string> before;
        Values(root, "", before);
        CByteImage original;
        original.CopyFrom(image);
        for (int s = 0; s <= int(CZ30Section::Channel); ++s) {
            for (int index : {-2, 36, 1000}) {
                SCOPED_TRACE("section " + std::to_string(s) + " index " + std::to_string(index));
                CByteImage other(image.Size());
                map.Decode(CZ30Section(s), root, other, index);
                map.Encode(CZ30Section(s), root, image, index);
                std::vector<std::string> after;
                Values(root, "", after);
                EXPECT_EQ(after, before);
                EXPECT_TRUE(std::equal(image.Data(), image.Data() + image.Size(), original.Data()));
            }
        }
    }
}

} // namespace

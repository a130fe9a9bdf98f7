#include "app/image_compare.h"

#include "clone/adjust_data_manager.h"
#include "clone/byte_image.h"
#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_info.h"
#include "clone/radio_data_manager.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kChannelRecords = 36;
// The bits that give an image's variant; compared as the variant, never as bytes.
constexpr std::uint32_t kVariantByte = 0x007, kFamilyByte = 0x07B;
constexpr std::uint8_t kVariantBits = 0x03, kFamilyBit = 0x08;

bool Skipped(CSetReason why) {
    return why == CSetReason::NotStored || why == CSetReason::OtherFamily ||
           why == CSetReason::DefaultChannel || why == CSetReason::BeyondChannels;
}

bool IsChannel(const std::string& path) {
    int n = 0;
    std::string_view field;
    return SplitChannelPath(path, &n, &field) && field.empty();
}

std::string Hex(unsigned value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string JsonText(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00" + Hex(static_cast<unsigned char>(c), 2);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Every text of the tree as long as the image keeps it.
void FillTexts(CNode* node) {
    for (CNode* child : node->Children()) {
        if (!child) continue;
        if (auto* text = dynamic_cast<CStringNode*>(child)) text->SetString(std::string(64, '1'));
        FillTexts(child);
    }
}

} // namespace

int CDifference::Channel() const {
    int n = 0;
    std::string_view field;
    return kind == Kind::Value && SplitChannelPath(group, &n, &field) ? n : 0;
}

struct CImageComparer::CSide {
    std::unique_ptr<CRadioDataManager> map;
    CByteImage image;
    int variant = 0;

    bool Load(CRadioDataManager* data, const std::vector<std::uint8_t>& bytes) {
        if (!map && data) map = data->NewScratch(0);
        if (!map || bytes.empty()) return false;
        image.Resize(static_cast<std::uint32_t>(bytes.size()));
        image.WriteBlock(0, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        map->ImageToTree(map->GetRoot(), image);
        variant = VariantOfImage(image);
        return true;
    }
};

CImageComparer::CImageComparer(CRadioDataManager* data)
    : m_data(data), m_a(std::make_unique<CSide>()), m_b(std::make_unique<CSide>()) {}

CImageComparer::~CImageComparer() = default;

// The bits a value lives in are those the radio map writes: the tree of the variant's factory
// image with every channel on is written over an image of zeros and over one of ones, and the
// bits that come out the same in both were written.
std::uint8_t CImageComparer::CoveredBits(int variant, std::uint32_t address) {
    // The same for every radio of the variant: found once a run.
    static std::vector<std::vector<std::uint8_t>> covered(kVariantCount);
    variant = std::clamp(variant, 0, kVariantCount - 1);
    std::vector<std::uint8_t>& mask = covered[static_cast<std::size_t>(variant)];
    if (mask.empty()) {
        std::unique_ptr<CRadioDataManager> map = m_data ? m_data->NewScratch(variant) : nullptr;
        if (!map) return 0xFF;
        CNode* root = map->GetRoot();
        CCloneManagerTemplate* hub = m_data->GetOwner();
        CDefaultDataManager* defaults = hub ? hub->GetDefaultDataManager() : nullptr;
        const CByteImage* factory = defaults ? defaults->DefaultImage(variant) : nullptr;
        CByteImage image;
        if (factory) image.CopyFrom(*factory);
        map->ImageToTree(root, image);
        FillTexts(root); // a text's every byte counts
        radiomap::SwitchEveryChannelOn(root);
        const std::uint32_t size = image.Size();
        CByteImage zeros(size), ones(size);
        for (std::uint32_t i = 0; i < size; ++i)
            ones.WriteByte(i, 0xFF);
        // Bytes the fix-up derives from values (the start-up channel, the mirrored channel
        // records) count as theirs: it runs on both, each marked with the variant.
        CAdjustDataManager* fixUp = hub ? hub->GetAdjustDataManager() : nullptr;
        for (CByteImage* side : {&zeros, &ones}) {
            map->TreeToImage(root, *side);
            for (const std::uint32_t at : {kVariantByte, kFamilyByte}) {
                const std::uint8_t bits = at == kVariantByte ? kVariantBits : kFamilyBit;
                side->WriteByte(at, static_cast<std::uint8_t>((side->ReadByte(at) & ~bits) |
                                                              (image.ReadByte(at) & bits)));
            }
            if (fixUp) fixUp->FixUpImage(*side);
        }
        mask.resize(size);
        for (std::uint32_t i = 0; i < size; ++i)
            mask[i] = static_cast<std::uint8_t>(~(zeros.ReadByte(i) ^ ones.ReadByte(i)));
        mask[kVariantByte] |= kVariantBits;
        mask[kFamilyByte] |= kFamilyBit;
    }
    return address < mask.size() ? mask[address] : 0xFF;
}

namespace {

struct CWalk {
    CRadioDataManager& mapA;
    CRadioDataManager& mapB;
    bool sameVariant;
    bool adjust;
    std::vector<CDifference>& out;

    bool Compared(const std::string& path) const {
        if (!adjust && path.compare(0, 6, "MakerR") == 0) return false;
        if (Skipped(mapA.Keeps(path).reason)) return false;
        return sameVariant || !Skipped(mapB.Keeps(path).reason);
    }

    // Walks a and b, nodes of the same place in trees of the same shape.
    void Walk(const CNode* a, const CNode* b, const std::string& path, const std::string& group) {
        const std::size_t n = std::min(a->ChildCount(), b->ChildCount());
        for (std::size_t i = 0; i < n; ++i) {
            const CNode* ca = a->ChildAt(i);
            const CNode* cb = b->ChildAt(i);
            if (!ca || !cb) continue;
            const std::string name = ca->GetName();
            const std::string p = path.empty() ? name : path + "." + name;
            if (!Compared(p)) continue;
            const std::string g = group.empty() ? p : group;
            if (ca->ChildCount() == 0) {
                Leaf(*ca, *cb, p, g);
            } else if (IsChannel(p)) {
                // A channel off on both sides is equal, whatever its record holds.
                if (GetValueByName(const_cast<CNode*>(ca), "ChOn") == 0 &&
                    GetValueByName(const_cast<CNode*>(cb), "ChOn") == 0)
                    continue;
                Walk(ca, cb, p, p);
            } else {
                Walk(ca, cb, p, g);
            }
        }
    }

    void Leaf(const CNode& a, const CNode& b, const std::string& path, const std::string& group) {
        const bool text = dynamic_cast<const CStringNode*>(&a) != nullptr;
        if (a.GetValue() == b.GetValue() && (!text || a.GetText() == b.GetText())) return;
        CDifference d;
        d.group = group;
        d.path = path;
        d.codeA = a.GetValue();
        d.codeB = b.GetValue();
        d.textA = ValueText(a);
        d.textB = ValueText(b);
        out.push_back(std::move(d));
    }
};

// The top-level branch a value's group is named after: "Mch" for Prio A, Prio B and Emergency.
std::string TopGroup(const std::string& path) {
    const std::size_t dot = path.find('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

} // namespace

std::vector<CDifference> CImageComparer::Compare(const std::vector<std::uint8_t>& a,
                                                 const std::vector<std::uint8_t>& b,
                                                 const CCompareOptions& options) {
    std::vector<CDifference> out;
    if (a.size() != b.size() || !m_a->Load(m_data, a) || !m_b->Load(m_data, b)) return out;
    const int va = m_a->variant, vb = m_b->variant;
    if (va != vb) {
        CDifference d;
        d.kind = CDifference::Kind::Variant;
        d.group = d.path = "Variant";
        d.codeA = va;
        d.codeB = vb;
        d.textA = kVariantNames[static_cast<std::size_t>(va)];
        d.textB = kVariantNames[static_cast<std::size_t>(vb)];
        out.push_back(std::move(d));
    }
    CWalk walk{*m_a->map, *m_b->map, va == vb, options.adjust, out};
    const CNode* rootA = m_a->map->GetRoot();
    const CNode* rootB = m_b->map->GetRoot();
    // Each top-level branch is a group of its own, and each channel.
    for (std::size_t i = 0; i < std::min(rootA->ChildCount(), rootB->ChildCount()); ++i) {
        const CNode* ca = rootA->ChildAt(i);
        const CNode* cb = rootB->ChildAt(i);
        if (!ca || !cb) continue;
        const std::string p = ca->GetName();
        if (!walk.Compared(p)) continue;
        if (ca->ChildCount() == 0)
            walk.Leaf(*ca, *cb, p, p);
        else
            walk.Walk(ca, cb, p, p == "Mch" ? std::string() : p);
    }
    // Prio A, Prio B and Emergency stand in the group of their branch.
    for (CDifference& d : out)
        if (d.kind == CDifference::Kind::Value && d.group == d.path) d.group = TopGroup(d.path);

    // The records of channels off on both sides or beyond the variant's are equal, their
    // unused bits too.
    std::vector<bool> bothOff(kChannelRecords + 1, true);
    for (int ch = 1; ch <= std::min(ChannelsOfVariant(va), ChannelsOfVariant(vb)); ++ch) {
        const std::string path = "Mch.CH" + std::to_string(ch);
        bothOff[static_cast<std::size_t>(ch)] =
            GetValueByName(GetNode(m_a->map->GetRoot(), path), "ChOn") == 0 &&
            GetValueByName(GetNode(m_b->map->GetRoot(), path), "ChOn") == 0;
    }
    auto offRecord = [&](std::uint32_t addr) {
        if (addr < radiomap::kChannelBase) return false;
        const std::uint32_t ch = (addr - radiomap::kChannelBase) / radiomap::kRecordSize + 1;
        return ch <= kChannelRecords && bothOff[ch];
    };
    for (std::uint32_t addr = options.adjust ? 0 : kAdjustAreaEnd; addr < a.size(); ++addr) {
        const std::uint8_t x = a[addr], y = b[addr];
        if (x == y || offRecord(addr)) continue;
        std::uint8_t covered = CoveredBits(va, addr);
        if (va != vb) covered |= CoveredBits(vb, addr);
        if (((x ^ y) & ~covered) == 0) continue;
        CDifference d;
        d.kind = CDifference::Kind::Byte;
        d.group = "Bytes";
        d.path = "0x" + Hex(addr, 4);
        d.address = addr;
        d.codeA = x;
        d.codeB = y;
        d.textA = Hex(x, 2);
        d.textB = Hex(y, 2);
        out.push_back(std::move(d));
    }
    return out;
}

std::string DifferenceSummary(const std::vector<CDifference>& list) {
    if (list.empty()) return "no differences";
    std::vector<std::pair<std::string, int>> groups;
    for (const CDifference& d : list) {
        if (groups.empty() || groups.back().first != d.group) groups.emplace_back(d.group, 0);
        ++groups.back().second;
    }
    std::string text =
        std::to_string(list.size()) + (list.size() == 1 ? " difference: " : " differences: ");
    for (std::size_t i = 0; i < groups.size(); ++i)
        text += (i ? ", " : "") + std::to_string(groups[i].second) + " in " + groups[i].first;
    return text;
}

std::string DifferenceLine(const CDifference& d, bool codes) {
    auto side = [&](const std::string& text, int code) {
        if (!codes || d.kind == CDifference::Kind::Byte || text == std::to_string(code))
            return text;
        return text + " (" + std::to_string(code) + ")";
    };
    return d.path + "\t" + side(d.textA, d.codeA) + "\t" + side(d.textB, d.codeB);
}

std::string DifferencesJson(const std::vector<CDifference>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const CDifference& d = list[i];
        out += std::string(i ? ",\n " : "\n ") + "{\"path\": " + JsonText(d.path) +
               ", \"a\": " + JsonText(d.textA) + ", \"b\": " + JsonText(d.textB) +
               ", \"codeA\": " + std::to_string(d.codeA) +
               ", \"codeB\": " + std::to_string(d.codeB) + "}";
    }
    return out + (list.empty() ? "]\n" : "\n]\n");
}

#include "radiomap/map_fields.h"

#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

namespace radiomap {

namespace {

// The value of stored bits under a rule that gives one.
int Value(const CRule& r, int raw, bool pmr) {
    switch (r.kind) {
    case CRuleKind::Range:
        return Clamp(raw + r.bias, r.lo, r.hi);
    case CRuleKind::Pattern:
        return raw < static_cast<int>(r.pattern->decode.size())
                   ? r.pattern->decode[std::size_t(raw)]
                   : 0;
    case CRuleKind::Function:
    case CRuleKind::Divider:
        return r.from(raw);
    case CRuleKind::KeyCode:
        return AllowedKeyCode(raw, pmr);
    default:
        return raw;
    }
}

// The stored bits of a value.
int Stored(const CRule& r, int v, int width, bool pmr) {
    switch (r.kind) {
    case CRuleKind::Range:
        return Clamp(v, r.lo, r.hi) - r.bias;
    case CRuleKind::Pattern:
        return v >= 0 && v < r.pattern->codes ? r.pattern->encode[std::size_t(v)]
                                              : r.pattern->otherwise;
    case CRuleKind::Function:
    case CRuleKind::Divider:
        return r.to(v);
    case CRuleKind::KeyCode:
        return AllowedKeyCode(v, pmr);
    default: // Plain, Flag
        return width == 1 ? v != 0 : v;
    }
}

// A byte of a text: a character from 32 to 127, anything else a blank.
char Printable(unsigned char c) { return c < 32 || c > 127 ? ' ' : static_cast<char>(c); }

void DecodeTable(const CByteImage& image, std::uint32_t base, CNode* parent, CFields fields,
                 bool pmr) {
    for (const CField& f : fields) {
        CNode* node = f.name ? Child(parent, f.name) : nullptr;
        if (!node || f.rule.kind == CRuleKind::Flag || f.rule.kind == CRuleKind::Factory ||
            f.rule.kind == CRuleKind::Hand)
            continue;
        if (f.rule.kind == CRuleKind::Text) {
            std::string text;
            for (int i = 0; i < f.rule.hi; ++i)
                text += Printable(image.ReadByte(base + f.place.at + std::uint32_t(i)));
            node->SetText(text); // the string node drops the trailing blanks
            continue;
        }
        const int raw = ReadPlace(image, base, f.place);
        if (f.rule.kind == CRuleKind::HexDigit)
            node->SetText(std::string(1, kUpperHexDigits[std::min(raw, f.rule.hi)]));
        else if (f.rule.kind == CRuleKind::Divider && raw == 0) {
            if (auto* range = dynamic_cast<CRangeValue*>(node)) node->SetValue(range->GetMin());
        } else
            node->SetValue(Value(f.rule, raw, pmr));
    }
}

void EncodeTable(CByteImage& image, std::uint32_t base, CNode* parent, CFields fields,
                 const CZ30RadioDataManager& host) {
    const bool pmr = host.IsPmr();
    for (const CField& f : fields) {
        if (f.family == (pmr ? CFamily::Lmr : CFamily::Pmr)) continue;
        CNode* node = f.name ? Child(parent, f.name) : nullptr;
        if ((f.name && !node) || f.rule.kind == CRuleKind::Hand) continue;
        const int v = node ? node->GetValue() : 0;
        if (f.rule.kind == CRuleKind::Factory)
            ForEachBit(f.place, base,
                       [&](std::uint32_t a, unsigned bit) { host.CopyDefaultBit(image, a, bit); });
        else if (f.rule.kind == CRuleKind::HexDigit)
            WritePlace(image, base, f.place, HexTextValue(node->GetText(), f.rule.hi));
        else if (f.rule.kind == CRuleKind::Text) {
            std::string text = node->GetText().substr(0, std::size_t(f.rule.hi));
            text.resize(std::size_t(f.rule.hi), ' ');
            for (std::size_t i = 0; i < text.size(); ++i)
                image.WriteByte(base + f.place.at + std::uint32_t(i),
                                static_cast<std::uint8_t>(Printable(text[i])));
        } else if (f.rule.kind != CRuleKind::Divider || v > 0)
            WritePlace(image, base, f.place, Stored(f.rule, v, f.place.width, pmr));
    }
}

} // namespace

// Bits within one byte take the short way; a word and bits apart go bit by bit.
int ReadPlace(const CByteImage& image, std::uint32_t base, const CPlace& p) {
    if (p.apart.empty() && p.width <= 8)
        return image.ReadByte(base + p.at) >> p.bit & ((1 << p.width) - 1);
    int raw = 0, i = 0;
    ForEachBit(p, base,
               [&](std::uint32_t a, unsigned bit) { raw |= image.ReadBit(a, bit) << i++; });
    return raw;
}

void WritePlace(CByteImage& image, std::uint32_t base, const CPlace& p, int raw) {
    if (p.apart.empty() && p.width <= 8) {
        const int mask = ((1 << p.width) - 1) << p.bit;
        const int b = image.ReadByte(base + p.at);
        image.WriteByte(base + p.at,
                        static_cast<std::uint8_t>((b & ~mask) | (raw << p.bit & mask)));
        return;
    }
    int i = 0;
    ForEachBit(p, base,
               [&](std::uint32_t a, unsigned bit) { image.WriteBit(a, bit, raw >> i++ & 1); });
}

void DecodeFields(const CByteImage& image, std::uint32_t base, CNode* parent,
                  const CFieldSection& section, const CZ30RadioDataManager& host) {
    if (!parent) return;
    for (CFields t : section.tables)
        DecodeTable(image, base, parent, t, host.IsPmr());
}

void EncodeFields(CByteImage& image, std::uint32_t base, CNode* parent,
                  const CFieldSection& section, const CZ30RadioDataManager& host) {
    if (!parent) return;
    for (CFields t : section.tables)
        EncodeTable(image, base, parent, t, host);
}

CNode* MakeBit(const char* name, const CNodeDesc& d) {
    return d.off ? new CBitNode(name, d.off, d.on) : new CBitNode(name);
}

CNode* MakeString(const char* name, const CNodeDesc& d) { return new CStringNode(name, d.off); }

void BuildFields(CZ30RadioDataManager& host, CNode* parent, const CFieldSection& section) {
    for (CFields table : section.tables)
        for (const CField& f : table) {
            if (!f.node.make) continue;
            CNode* node = host.Adopt(parent, f.node.make(f.name, f.node));
            auto* value = dynamic_cast<CChoiceValue*>(node);
            if (!value) continue;
            for (int n = 0; f.node.count > 0 && n <= f.node.count; ++n)
                value->AddChoice(n, n == 0 ? std::string("OFF") : std::to_string(n));
            for (const CChoiceText& c : f.node.choices)
                value->AddChoice(c.code, c.text);
        }
}

int FromBcd(int bits) {
    int v = 0;
    for (int shift = 20; shift >= 0; shift -= 4) {
        if ((bits >> shift & 15) > 9) return -1;
        v = v * 10 + (bits >> shift & 15);
    }
    return v;
}

int ToBcd(int v) {
    int bits = 0;
    for (int shift = 0; shift < 24; shift += 4, v /= 10)
        bits |= v % 10 << shift;
    return bits;
}

// The codes of kKeyFunctions; "Call A" and "Call B" (25, 26) only on PMR radios. Code 49 names no
// function but is kept as it is.
int AllowedKeyCode(int code, bool pmr) {
    if (code == 49) return code;
    if ((code == 25 || code == 26) && !pmr) return 0;
    for (const CChoiceText& c : kKeyFunctions)
        if (c.code == code) return code;
    return 0;
}

int HexTextValue(const std::string& text, int max) {
    const int v = text.empty() ? 0 : HexDigitValue(text[0]);
    return std::min(std::max(v, 0), max);
}

} // namespace radiomap

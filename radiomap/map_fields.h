// The field records the section codecs and the tree builder are made of, and the one decoder, one
// encoder and one builder that walk them. A record names a value of the tree, the place of its
// bits in the image (an address, or an offset in a record whose base the codec gives), the rule
// it is stored by and the node that holds it.
#pragma once

#include "clone/byte_image.h"
#include "core/ctext.h"
#include "params/node.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

class CZ30RadioDataManager;

namespace radiomap {

// One bit of a value whose bits lie apart.
struct CBitAt {
    std::uint16_t at;
    std::uint8_t bit;
};

// width bits from bit up in the byte at; a width above 8 is that many bits of the big-endian bytes
// from at, the lowest in the last byte (16: the word at at and at + 1); apart lists the bits one
// by one, lowest first. Width 0 is nowhere.
struct CPlace {
    std::uint16_t at = 0;
    std::uint8_t bit = 0;
    std::uint8_t width = 0;
    std::span<const CBitAt> apart = {};
};
constexpr CPlace Byte(std::uint16_t at) { return {at, 0, 8}; }
constexpr CPlace Wide(std::uint16_t at, int width) { return {at, 0, std::uint8_t(width)}; }
constexpr CPlace Word(std::uint16_t at) { return Wide(at, 16); }
constexpr CPlace Bit(std::uint16_t at, int bit) { return {at, std::uint8_t(bit), 1}; }
constexpr CPlace Bits(std::uint16_t at, int low, int width) {
    return {at, std::uint8_t(low), std::uint8_t(width)};
}
constexpr CPlace Apart(std::span<const CBitAt> bits) {
    return {0, 0, std::uint8_t(bits.size()), bits};
}

// Stored pattern -> code (one entry for each pattern the bits can hold), code -> stored pattern;
// a code beyond the list is stored as otherwise.
struct CPattern {
    std::array<int, 16> decode{};
    std::array<int, 16> encode{};
    int patterns = 0;
    int codes = 0;
    int otherwise = 0;
};
template <std::size_t D, std::size_t E>
constexpr CPattern Patterns(const int (&decode)[D], const int (&encode)[E], int otherwise) {
    static_assert(D <= 16 && E <= 16);
    CPattern p;
    for (std::size_t i = 0; i < D; ++i)
        p.decode[i] = decode[i];
    for (std::size_t i = 0; i < E; ++i)
        p.encode[i] = encode[i];
    p.patterns = static_cast<int>(D);
    p.codes = static_cast<int>(E);
    p.otherwise = otherwise;
    return p;
}

enum class CRuleKind : std::uint8_t {
    Plain,    // the bits as a number; one bit stores whether the value is not 0
    Range,    // the value clamped into lo..hi, stored minus bias
    Pattern,  // a pattern table
    Function, // from(stored) and to(value)
    Divider,  // a tone divider: 0 reads as the node's lowest tone, a tone of 0 is not written
    KeyCode,  // a key-function code the variant offers, else 0 (both ways)
    HexDigit, // a text of one hexadecimal digit, 0 to hi
    Text,     // a text of hi bytes, each a character from 32 to 127 (anything else reads blank)
    Flag,     // writes whether the value is not 0; the value is read elsewhere
    Factory,  // the variant's factory bits; no value
    Hand,     // coded by the section's own code (its codec says why); the record gives the node
};

struct CRule {
    CRuleKind kind = CRuleKind::Plain;
    int lo = 0;
    int hi = 0;
    int bias = 0;
    const CPattern* pattern = nullptr;
    int (*from)(int) = nullptr;
    int (*to)(int) = nullptr;
};
inline constexpr CPattern kInverted = Patterns({1, 0}, {1}, 0);

constexpr CRule Plain() { return {}; }
constexpr CRule Range(int lo, int hi, int bias = 0) { return {CRuleKind::Range, lo, hi, bias}; }
constexpr CRule Pattern(const CPattern& p) { return {CRuleKind::Pattern, 0, 0, 0, &p}; }
constexpr CRule Inverted() { return Pattern(kInverted); } // one bit, set when the value is 0
constexpr CRule Function(int (*from)(int), int (*to)(int)) {
    return {CRuleKind::Function, 0, 0, 0, nullptr, from, to};
}
constexpr CRule Divider(int (*from)(int), int (*to)(int)) {
    return {CRuleKind::Divider, 0, 0, 0, nullptr, from, to};
}
constexpr CRule KeyCode() { return {CRuleKind::KeyCode}; }
constexpr CRule HexDigit(int max) { return {CRuleKind::HexDigit, 0, max}; }
constexpr CRule Text(int length) { return {CRuleKind::Text, 0, length}; }
constexpr CRule Flag() { return {CRuleKind::Flag}; }
constexpr CRule Factory() { return {CRuleKind::Factory}; }
constexpr CRule Hand() { return {CRuleKind::Hand}; }
// Content no value holds (with no name), or a value the image does not keep (with no place).
constexpr CRule Fixed(int v) { return Range(v, v); }
constexpr CRule Unstored(int v) { return Range(v, v); }

// Which radios write a field; every radio reads it.
enum class CFamily : std::uint8_t { Both, Lmr, Pmr };
inline constexpr CFamily kLmr = CFamily::Lmr;
inline constexpr CFamily kPmr = CFamily::Pmr;

// A named choice of a value node.
struct CChoiceText {
    int code;
    const char* text;
};

// The node that holds a record's value, for the tree builder. make builds it from the rest: a
// value's default and range, a bit's two texts (a string's first text in off); then the node
// gets "OFF" and the numbers 1 to count, and its choices. A record without one makes no node
// (another record of the name makes it, or no value is held).
struct CNodeDesc {
    CNode* (*make)(const char* name, const struct CNodeDesc& d) = nullptr;
    int def = 0;
    int lo = 0;
    int hi = 255;
    const char* off = nullptr;
    const char* on = nullptr;
    std::span<const CChoiceText> choices = {};
    int count = 0;
};
template <class T> CNode* MakeRange(const char* name, const CNodeDesc& d) {
    return new T(name, d.def, d.def, d.lo, d.hi);
}
template <class T> CNode* MakeNamed(const char* name, const CNodeDesc&) { return new T(name); }
CNode* MakeBit(const char* name, const CNodeDesc& d);    // texts off and on, or none
CNode* MakeString(const char* name, const CNodeDesc& d); // first text off

constexpr CNodeDesc Num(int lo = 0, int hi = 255) { return {MakeRange<CNumNode>, lo, lo, hi}; }
constexpr CNodeDesc Choices(std::span<const CChoiceText> c) {
    return {MakeRange<CNumNode>, 0, 0, 255, nullptr, nullptr, c};
}
constexpr CNodeDesc Numbers(int last) { // "OFF" and 1 to last
    return {MakeRange<CNumNode>, 0, 0, last, nullptr, nullptr, {}, last};
}
constexpr CNodeDesc OnOff(const char* off = "OFF", const char* on = "ON") {
    return {MakeBit, 0, 0, 1, off, on};
}
constexpr CNodeDesc PlainBit() { return {MakeBit}; }
constexpr CNodeDesc String(const char* first = "") { return {MakeString, 0, 0, 0, first}; }
template <class T> constexpr CNodeDesc Node(int def, int lo, int hi) {
    return {MakeRange<T>, def, lo, hi};
}
template <class T> constexpr CNodeDesc Node() { return {MakeNamed<T>}; }

struct CField {
    const char* name; // null: content of the image that no value holds
    CPlace place;
    CRule rule = {};
    CNodeDesc node = {};
    CFamily family = CFamily::Both;
};
using CFields = std::span<const CField>;

// The tables that code one node's children from one base. node and base name the first item of
// a list (channel 1, receive code channel 1, ...); the codec gives each item's own.
struct CFieldSection {
    const char* node;
    std::uint32_t base;
    std::array<CFields, 3> tables;
};

// One item of a section (a channel, a code channel, a format...): its node and its fields, each
// table from its own base.
struct CItemPart {
    std::uint32_t base = 0;
    const CFieldSection* fields = nullptr;
};
struct CItem {
    CNode* node = nullptr;
    std::array<CItemPart, 2> parts = {};
};

// A section of the image: its items, and the hand-coded part of an item (what no record can
// state), which runs before the item's fields. An encode part that gives false leaves the
// fields alone. The sections of one family are encoded only for its radios.
struct CSectionCodec {
    int items;
    CItem (*item)(CNode* root, int index);
    void (*decode)(CZ30RadioDataManager& map, CNode* root, const CItem& item,
                   const CByteImage& image, int index) = nullptr;
    bool (*encode)(CZ30RadioDataManager& map, CNode* root, const CItem& item, CByteImage& image,
                   int index) = nullptr;
    CFamily family = CFamily::Both;
};

// Calls f(address, bit) for each bit of the place, lowest first.
template <class F> void ForEachBit(const CPlace& p, std::uint32_t base, F f) {
    for (unsigned i = 0; i < p.width; ++i) {
        if (!p.apart.empty())
            f(base + p.apart[i].at, unsigned(p.apart[i].bit));
        else if (p.width > 8)
            f(base + p.at + (p.width + 7u) / 8 - 1 - i / 8, i % 8);
        else
            f(base + p.at, p.bit + i);
    }
}

// The bits of a place, lowest first, and back.
int ReadPlace(const CByteImage& image, std::uint32_t base, const CPlace& p);
void WritePlace(CByteImage& image, std::uint32_t base, const CPlace& p, int raw);

// The fields of parent from the image, and back; base is added to each place. A field whose node
// parent lacks is left alone; a missing parent does nothing.
void DecodeFields(const CByteImage& image, std::uint32_t base, CNode* parent,
                  const CFieldSection& section, const CZ30RadioDataManager& host);
void EncodeFields(CByteImage& image, std::uint32_t base, CNode* parent,
                  const CFieldSection& section, const CZ30RadioDataManager& host);

// The items of sections that are each one node with its fields: item i is the i-th section's
// node at its base.
template <const CFieldSection&... S> CItem Whole(CNode* root, int index) {
    const CFieldSection* sections[] = {&S...};
    const CFieldSection* s = sections[index];
    return {GetNode(root, s->node), {{{s->base, s}}}};
}
template <CFamily F, const CFieldSection&... S>
constexpr CSectionCodec kFamilyWhole = {sizeof...(S), Whole<S...>, nullptr, nullptr, F};
template <const CFieldSection&... S>
constexpr CSectionCodec kWhole = kFamilyWhole<CFamily::Both, S...>;

// The number six BCD digits (24 bits) hold: -1 when a digit is not decimal; and the digits of the
// lowest six decimal places of v >= 0.
int FromBcd(int bits);
int ToBcd(int v);

// A key-function code as the variant offers it (0 when it does not).
int AllowedKeyCode(int code, bool pmr);
// The value of a one-digit hexadecimal text: 0 when empty or not hexadecimal, at most max.
int HexTextValue(const std::string& text, int max);

// The nodes of a section's records under parent, in the order of its tables.
void BuildFields(CZ30RadioDataManager& host, CNode* parent, const CFieldSection& section);

inline CNode* Child(CNode* parent, const char* name) {
    return parent ? parent->FindChild(name) : nullptr;
}
// Nibble i of the bytes from base, the high nibble of a byte first.
inline int Nibble(const CByteImage& image, std::uint32_t base, std::size_t i) {
    const int b = image.ReadByte(base + static_cast<std::uint32_t>(i / 2));
    return i % 2 == 0 ? b >> 4 : b & 0x0F;
}
inline int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

} // namespace radiomap

// Field helpers shared by the section codecs: one byte, one bit or one big-endian word of the
// image to or from a named child node. A missing node makes a helper do nothing.
#pragma once

#include "clone/byte_image.h"
#include "core/ctext.h"
#include "params/node.h"

#include <algorithm>
#include <cstdint>

namespace radiomap {

inline CNode* Child(CNode* parent, const char* name) {
    return parent ? parent->FindChild(name) : nullptr;
}

inline int Get(CNode* parent, const char* name) {
    CNode* n = Child(parent, name);
    return n ? n->GetValue() : 0;
}

inline void Set(CNode* parent, const char* name, int code) {
    if (CNode* n = Child(parent, name)) n->SetValue(code);
}

inline int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

inline int Word(const CByteImage& image, std::uint32_t a) {
    return image.ReadByte(a) * 256 + image.ReadByte(a + 1);
}

inline void PutWord(CByteImage& image, std::uint32_t a, int word) {
    image.WriteByte(a, static_cast<std::uint8_t>((word >> 8) & 0xFF));
    image.WriteByte(a + 1, static_cast<std::uint8_t>(word & 0xFF));
}

// Two bits (low, low + 1) as one number.
inline int Bits2(const CByteImage& image, std::uint32_t a, unsigned low) {
    return image.ReadBit(a, low) + 2 * image.ReadBit(a, low + 1);
}

inline void ByteToNode(const CByteImage& image, std::uint32_t a, CNode* parent, const char* name) {
    Set(parent, name, image.ReadByte(a));
}

inline void NodeToByte(CByteImage& image, std::uint32_t a, CNode* parent, const char* name) {
    if (CNode* n = Child(parent, name))
        image.WriteByte(a, static_cast<std::uint8_t>(n->GetValue()));
}

inline void BitToNode(const CByteImage& image, std::uint32_t a, unsigned bit, CNode* parent,
                      const char* name) {
    Set(parent, name, image.ReadBit(a, bit));
}

inline void NodeToBit(CByteImage& image, std::uint32_t a, unsigned bit, CNode* parent,
                      const char* name) {
    if (CNode* n = Child(parent, name)) image.WriteBit(a, bit, n->GetValue() != 0);
}

// Receive code channel fields whose layout both signalling systems share (two_tone_map.cpp).
int BeepFromPattern(int pattern); // pattern 4 is "Null"
int BeepToPattern(int code);
int TwoBitChoice(int pattern); // pattern 3 reads as 2
// "Bell", "Beep", "Stun" and "Scan" of the record at r.
void DecodeRxCommonBits(const CByteImage& image, std::uint32_t r, CNode* channel);
void EncodeRxCommonBits(CByteImage& image, std::uint32_t r, CNode* channel);
// No-tone time (an even number 2 to 30) and beep repeat time (0 to 60).
int NoTonTimFromByte(int stored);
int NoTonTimToByte(int code);
int BeepRepTimFromByte(int stored);
int BeepRepTimToByte(int code);

} // namespace radiomap

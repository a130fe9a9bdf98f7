// Model identity: the variant with its names, model code, revision and the 38-byte info block
// that the radio reports in its clone info reply.
#pragma once

#include "params/value_nodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CByteImage;

constexpr int kVariantCount = 6;
constexpr std::array<const char*, kVariantCount> kVariantNames = {
    "LMR 1CH", "PMR 1CH", "LMR 2CH", "PMR 2CH", "LMR 16CH", "PMR 16CH"};
constexpr std::array<const char*, kVariantCount> kVariantMenuTexts = {
    "LMR  1CH (2Tone)",      "PMR  1CH (5Tone/DTMF)", "LMR  2CH (2Tone)",
    "PMR  2CH (5Tone/DTMF)", "LMR 16CH (2Tone)",      "PMR 16CH (5Tone/DTMF)"};

inline bool IsPmrVariant(int variant) { return variant % 2 != 0; }
inline int ChannelClassOf(int variant) { return variant / 2; }
// The channels a variant uses: 1, 2 or 16.
inline int ChannelsOfVariant(int variant) {
    constexpr int kChannels[] = {1, 2, 16};
    return kChannels[std::min(std::max(variant, 0), kVariantCount - 1) / 2];
}
// The variant an image's own bytes give: the channel class in bits 0-1 of byte 0x007 and the
// PMR bit 3 of byte 0x07B.
int VariantOfImage(const CByteImage& image);

class CModelInfo : public CChoiceValue {
public:
    CModelInfo(int min, int max, int modelCode, int revision, std::size_t infoLength);

    bool IsValid(int code) const override;
    int NearestValid(int v) const { return Normalize(v); }
    void SetCurrent(int v) { SetValue(v); }
    int GetCurrent() const { return GetValue(); }
    std::string NameOfCurrent() const { return GetText(); }
    void Exclude(int v) { m_excluded.insert(v); }

    int GetModelCode() const { return m_modelCode; }
    void SetModelCode(int code) { m_modelCode = code & 0xFFFF; }
    int GetRevision() const { return m_revision; }
    void SetRevision(int revision) { m_revision = revision & 0xFFFF; }

    const std::uint8_t* InfoData() const { return m_info.data(); }
    std::size_t InfoLength() const { return m_info.size(); }
    // Copies n bytes into the block; a longer source changes nothing, and the block never
    // shrinks (bytes past n become 0).
    void SetInfoData(const std::uint8_t* source, std::size_t n);
    std::string CommentLine(int line) const; // 0 or 1: one 16-character line
    std::size_t CommentOffset() const { return m_commentOffset; }
    std::size_t CommentLength() const { return m_commentLength; }
    void SetCommentLayout(std::size_t offset, std::size_t length);

    // Sets the current variant from detail byte C of the info block.
    void ParseInfo();
    // The value of a detail key ("DETREF", "DETSREV", ...), or -1 for an unknown key.
    int DetailLookup(const std::string& key) const;

private:
    std::set<int> m_excluded;
    int m_modelCode;
    int m_revision;
    std::vector<std::uint8_t> m_info;
    std::size_t m_commentOffset = 0;
    std::size_t m_commentLength = 0;
};

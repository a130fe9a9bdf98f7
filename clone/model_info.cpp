#include "clone/model_info.h"

#include "clone/byte_image.h"

#include <algorithm>

int VariantOfImage(const CByteImage& image) {
    static constexpr int kBase[4] = {4, 4, 2, 0};
    const int c = image.ReadBit(0x007, 0) + 2 * image.ReadBit(0x007, 1);
    return kBase[c] + image.ReadBit(0x07B, 3);
}

CModelInfo::CModelInfo(int min, int max, int modelCode, int revision, std::size_t infoLength)
    : CChoiceValue(min, min, min, max), m_modelCode(modelCode & 0xFFFF),
      m_revision(revision & 0xFFFF), m_info(infoLength, 0) {}

bool CModelInfo::IsValid(int code) const {
    return CChoiceValue::IsValid(code) && m_excluded.count(code) == 0;
}

void CModelInfo::SetInfoData(const std::uint8_t* source, std::size_t n) {
    if (n > m_info.size() || (n > 0 && !source)) return;
    std::fill(m_info.begin(), m_info.end(), 0);
    std::copy(source, source + n, m_info.begin());
}

void CModelInfo::SetCommentLayout(std::size_t offset, std::size_t length) {
    m_commentOffset = std::min(offset, m_info.size());
    m_commentLength = std::min(length, m_info.size() - m_commentOffset);
}

std::string CModelInfo::CommentLine(int line) const {
    const std::size_t half = m_commentLength / 2;
    const std::size_t start = m_commentOffset + (line ? half : 0);
    std::string text;
    for (std::size_t i = 0; i < half && start + i < m_info.size(); ++i) {
        const std::uint8_t b = m_info[start + i];
        text.push_back(b >= 32 && b <= 126 ? static_cast<char>(b) : ' ');
    }
    return text;
}

void CModelInfo::ParseInfo() {
    if (m_info.size() <= 34) return;
    static constexpr int kBase[4] = {4, 4, 2, 0};
    const std::uint8_t c = m_info[34];
    SetCurrent(kBase[(c >> 4) & 3] + ((c >> 1) & 1));
}

int CModelInfo::DetailLookup(const std::string& key) const {
    auto byte = [&](std::size_t i) -> int { return i < m_info.size() ? m_info[i] : 0; };
    const int type = byte(33) & 0x60;
    if (key == "DETTRTYP_CONV") return type != 0x00 && type != 0x20;
    if (key == "DETTRTYP_BRS") return type == 0x20;
    if (key == "DETTRTYP_GMRS") return type == 0x00;
    if (key == "DETREF") return byte(34) & 1;
    if (key == "DETSREV") return std::min(byte(37), 9);
    if (key == "DETEEP") return (byte(33) & 1) == 0;
    if (key == "DETHIVOLT") return (byte(34) >> 2) & 1;
    if (key == "DETFRQPIT") return (byte(34) >> 3) & 1;
    return -1;
}

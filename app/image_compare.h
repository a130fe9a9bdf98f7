// What differs between two images: value by value through the parameter tree of the first
// image's variant, then the bytes no value covers by address.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRadioDataManager;
class CNode;

// The adjust area: every radio's own alignment, compared only when asked.
constexpr std::uint32_t kAdjustAreaEnd = 0x0070;

struct CDifference {
    enum class Kind { Variant, Value, Byte };
    Kind kind = Kind::Value;
    std::string group; // "Mch.CH4", "CommonSet", "Variant", "Bytes"
    std::string path;  // "Mch.CH4.FreqRx"; "0x01A3" for a byte
    int codeA = 0;     // the value's codes, the variant numbers, or the bytes
    int codeB = 0;
    std::string textA; // as the sheets and `ktz30cli get` show it; a byte in hexadecimal
    std::string textB;
    std::uint32_t address = 0; // a byte's address
    // The channel the value belongs to (1..36), else 0.
    int Channel() const;
};

struct CCompareOptions {
    bool adjust = false; // also the adjust area 0x0000-0x006F (the "MakerR" values and bytes)
};

// Compares images of the radio data manager's radio. Scratch trees of its own are kept between
// comparisons, so that comparing again costs no tree building.
class CImageComparer {
public:
    explicit CImageComparer(CRadioDataManager* data);
    ~CImageComparer();
    CImageComparer(const CImageComparer&) = delete;
    CImageComparer& operator=(const CImageComparer&) = delete;

    // In tree order, grouped by branch (a channel's differences together), the variant first
    // and the bytes last. Values the variant of a (and, where the variants differ, of b) does
    // not store are left out, and so are channels beyond its count; a channel that is off on
    // both sides is equal. Empty when the images are equal or either is no whole image.
    std::vector<CDifference> Compare(const std::vector<std::uint8_t>& a,
                                     const std::vector<std::uint8_t>& b,
                                     const CCompareOptions& options = {});
    // The bits of a byte that a value of the variant lives in (the variant's own bits too), and
    // those the fix-up derives from values.
    std::uint8_t CoveredBits(int variant, std::uint32_t address);

private:
    struct CSide;
    CRadioDataManager* m_data;
    std::unique_ptr<CSide> m_a, m_b;
};

// "3 differences: 2 in Mch.CH4, 1 in CommonSet"; "no differences".
std::string DifferenceSummary(const std::vector<CDifference>& list);
// One line of the listing: path, tab, a's text, tab, b's text; with codes, "text (code)".
std::string DifferenceLine(const CDifference& d, bool codes);
// The list as a JSON array of objects (path, a, b, codeA, codeB), one object a line.
std::string DifferencesJson(const std::vector<CDifference>& list);

// Frequency and tone nodes: an integer code in a small unit shown as a decimal number in a larger
// unit. Typed texts are put onto what the radio can generate (channel raster, tone dividers).
#pragma once

#include "params/value_nodes.h"

#include <algorithm>

#include <memory>
#include <string>

// What a typed text stands for under a node's rule: the code, or why it stands for none
// (refused: not a number, fits no raster), and how the rule changed the typed value on the way
// (clamped, snapped, rounded).
struct CFreqParse {
    int code = 0;
    CSetReason reason = CSetReason::None;
    bool refused = false;
};

class CFreqNode : public CChoiceValue, public CNode {
    KT_DECLARE_CLASS(CFreqNode)
public:
    CFreqNode() : CFreqNode("FreqNode") {}
    explicit CFreqNode(const char* name)
        : CFreqNode(name, 100000000, 100000000, 100000000, 999000000, 1000000) {}
    CFreqNode(const char* name, int value, int def, int min, int max, int divisor)
        : CChoiceValue(value, def, min, max), CNode(name), m_divisor(divisor > 0 ? divisor : 1) {}

    // The node's rule applied to a typed text.
    virtual CFreqParse ParseFreq(const std::string& text) const;

    // Stores the parsed text clamped to the range; a refused text leaves the value as it is.
    CSetResult SetText(const std::string& text) override;
    CSetResult SetValue(int code) override { return CChoiceValue::SetValue(code); }
    void CopyFrom(const CNode& other) override;
    // value / divisor with five decimals.
    std::string GetText() const override;
    int GetValue() const override { return CChoiceValue::GetValue(); }

    int GetDivisor() const { return m_divisor; }

protected:
    // Skips blanks, reads at most 15 characters as a real number (negative counts as 0) and
    // scales it by the divisor, rounded. Refused as not a number unless the whole text is one
    // finite decimal number whose code stays below 2^53; a code beyond 32 bits gives Fallback().
    CFreqParse ParseCommon(const std::string& text) const;
    virtual int Fallback() const { return GetMax(); }
    // p carrying the code a rule made of it: Clamped stays, otherwise a changed code is how.
    static CFreqParse Changed(CFreqParse p, long long code, CSetReason how);
    static CFreqParse Refusal(CSetReason why) { return {0, why, true}; }

private:
    int m_divisor;
};

// A frequency node whose typed value is first clamped to its own pair of limits.
class CParseLimitedFreqNode : public CFreqNode {
public:
    CParseLimitedFreqNode(const char* name, int value, int def, int min, int max, int divisor)
        : CFreqNode(name, value, def, min, max, divisor), m_parseMin(min), m_parseMax(max) {}

    void SetParseLimits(int min, int max) {
        m_parseMin = min;
        m_parseMax = max;
    }
    int GetParseMin() const { return m_parseMin; }
    int GetParseMax() const { return m_parseMax; }

protected:
    int Fallback() const override { return m_parseMax; }
    // The parsed text clamped to the parse limits.
    CFreqParse ParseClamped(const std::string& text) const;

    int m_parseMin;
    int m_parseMax;
};

// Channel frequency in Hz, shown in MHz. The radio keeps whole kHz; the sub-kHz part is restored
// by snapping onto the first step raster (2.5, 3.125, 5, 6.25, 7.5 kHz) that fits.
class CZ30MchFreqNode : public CFreqNode {
    KT_DECLARE_CLASS(CZ30MchFreqNode)
public:
    static constexpr int kMax = 799997500;
    CZ30MchFreqNode() : CZ30MchFreqNode("MchFreqNode") {}
    explicit CZ30MchFreqNode(const char* name) : CFreqNode(name, 0, 0, 0, kMax, 1000000) {}

    CFreqParse ParseFreq(const std::string& text) const override;
    // Snaps the current value onto the raster and returns it with six decimals.
    virtual std::string GridText();
    // The first raster frequency from the whole kHz of hz upwards in 125 Hz steps; -1 when none
    // of the eight fits.
    static long long OnRaster(long long hz);

protected:
    int Fallback() const override { return kMax; }
};

// Signed IF offset in Hz, shown in MHz, on a 25 kHz raster.
class CZ30IfFreqNode : public CFreqNode {
    KT_DECLARE_CLASS(CZ30IfFreqNode)
public:
    static constexpr int kMax = 99975000;
    CZ30IfFreqNode() : CZ30IfFreqNode("IfFreqNode") {}
    explicit CZ30IfFreqNode(const char* name) : CFreqNode(name, 0, 0, -kMax, kMax, 1000000) {}

    CFreqParse ParseFreq(const std::string& text) const override;

protected:
    int Fallback() const override { return kMax; }
};

// Beep tone in Hz: 14.7456 MHz divided by 256 * N.
class CZ30BeepFreqNode : public CParseLimitedFreqNode {
    KT_DECLARE_CLASS(CZ30BeepFreqNode)
public:
    CZ30BeepFreqNode() : CZ30BeepFreqNode("BeepFreqNode") {}
    explicit CZ30BeepFreqNode(const char* name) : CZ30BeepFreqNode(name, 400, 400, 400, 3000) {}
    // min and max limit what is typed; the node holds the tones their dividers give (3000 Hz
    // typed is 3032 Hz held), so a tone read from the radio is shown as the radio makes it.
    CZ30BeepFreqNode(const char* name, int value, int def, int min, int max)
        : CParseLimitedFreqNode(name, value, def, min, max, 1) {
        SetRange(value, def, std::min(min, Tone(Divider(min))), std::max(max, Tone(Divider(max))));
    }

    CFreqParse ParseFreq(const std::string& text) const override;
    // The divider N of a frequency in Hz (0 when none fits).
    static int Divider(double hz);
    // The tone of a divider N in Hz (0 for N = 0).
    static int Tone(int n);
};

// User CTCSS tone in tenths of Hz: 14.7456 MHz divided by 128 * N.
class CZ30UsrCtcssFreqNode : public CParseLimitedFreqNode {
    KT_DECLARE_CLASS(CZ30UsrCtcssFreqNode)
public:
    CZ30UsrCtcssFreqNode() : CZ30UsrCtcssFreqNode("UsrCtcssFreqNode") {}
    explicit CZ30UsrCtcssFreqNode(const char* name)
        : CZ30UsrCtcssFreqNode(name, 1000, 1000, 600, 3000) {}
    CZ30UsrCtcssFreqNode(const char* name, int value, int def, int min, int max)
        : CParseLimitedFreqNode(name, value, def, min, max, 10) {
        SetParseLimits(600, 3000);
    }

    CFreqParse ParseFreq(const std::string& text) const override;
    // The 16-bit divider N of a tone given in tenths of Hz (0 when none fits).
    static int Divider(double tenthsHz);
};

// Generated signalling tone in Hz, on the tone generator's step of 6800/16384 Hz.
class CZ30UsrTonEncNode : public CParseLimitedFreqNode {
    KT_DECLARE_CLASS(CZ30UsrTonEncNode)
public:
    CZ30UsrTonEncNode() : CZ30UsrTonEncNode("UsrTonEncNode") {}
    explicit CZ30UsrTonEncNode(const char* name) : CZ30UsrTonEncNode(name, 400, 400, 400, 3000) {}
    CZ30UsrTonEncNode(const char* name, int value, int def, int min, int max)
        : CParseLimitedFreqNode(name, value, def, min, max, 1) {}

    CFreqParse ParseFreq(const std::string& text) const override;
    // The stored 16-bit word of a tone in Hz, and the tone a word gives.
    static int Word(int hz);
    static int FromWord(int word);
};

// Tone decoder limit in Hz, not quantised.
class CZ30UsrTonDecNode : public CParseLimitedFreqNode {
    KT_DECLARE_CLASS(CZ30UsrTonDecNode)
public:
    CZ30UsrTonDecNode() : CZ30UsrTonDecNode("UsrTonDecNode") {}
    explicit CZ30UsrTonDecNode(const char* name) : CZ30UsrTonDecNode(name, 400, 400, 400, 3000) {}
    CZ30UsrTonDecNode(const char* name, int value, int def, int min, int max)
        : CParseLimitedFreqNode(name, value, def, min, max, 1) {}

    CFreqParse ParseFreq(const std::string& text) const override;
};

// One two-tone receive code channel. It keeps two tone centres (tenths of Hz) and four decoder
// window limits (Hz); Bind() points them at the children of those names once the tree is built.
// The node deletes only the nodes it created itself.
class CZ302TonRxCodeChNode : public CNode {
    KT_DECLARE_CLASS(CZ302TonRxCodeChNode)
public:
    CZ302TonRxCodeChNode() : CZ302TonRxCodeChNode("CZ302TonRxCodeChNode") {}
    explicit CZ302TonRxCodeChNode(const char* name);
    ~CZ302TonRxCodeChNode() override;
    CZ302TonRxCodeChNode(const CZ302TonRxCodeChNode&) = delete;
    CZ302TonRxCodeChNode& operator=(const CZ302TonRxCodeChNode&) = delete;

    // Redirects each working pointer to the child "1stFreq", "2ndFreq", "1stFreqLo",
    // "1stFreqHi", "2ndFreqLo" or "2ndFreqHi" when the node has one of the right kind.
    void Bind();

    CFreqNode* FirstFreq() const { return m_1stFreq; }
    CFreqNode* SecondFreq() const { return m_2ndFreq; }
    CZ30UsrTonDecNode* FirstFreqLo() const { return m_1stFreqLo; }
    CZ30UsrTonDecNode* FirstFreqHi() const { return m_1stFreqHi; }
    CZ30UsrTonDecNode* SecondFreqLo() const { return m_2ndFreqLo; }
    CZ30UsrTonDecNode* SecondFreqHi() const { return m_2ndFreqHi; }

private:
    std::unique_ptr<CFreqNode> m_own1stFreq;
    std::unique_ptr<CFreqNode> m_own2ndFreq;
    std::unique_ptr<CZ30UsrTonDecNode> m_own1stFreqLo;
    std::unique_ptr<CZ30UsrTonDecNode> m_own1stFreqHi;
    std::unique_ptr<CZ30UsrTonDecNode> m_own2ndFreqLo;
    std::unique_ptr<CZ30UsrTonDecNode> m_own2ndFreqHi;
    CFreqNode* m_1stFreq;
    CFreqNode* m_2ndFreq;
    CZ30UsrTonDecNode* m_1stFreqLo;
    CZ30UsrTonDecNode* m_1stFreqHi;
    CZ30UsrTonDecNode* m_2ndFreqLo;
    CZ30UsrTonDecNode* m_2ndFreqHi;
};

// One five-tone user tone: encoder tone "Enc" and decoder limits "DecL" and "DecH". Bind()
// points them at the children of those names; the node deletes only what it created.
class CZ305TonUsrTonNode : public CNode {
    KT_DECLARE_CLASS(CZ305TonUsrTonNode)
public:
    CZ305TonUsrTonNode() : CZ305TonUsrTonNode("CZ305TonUsrTonNode") {}
    explicit CZ305TonUsrTonNode(const char* name);
    ~CZ305TonUsrTonNode() override;
    CZ305TonUsrTonNode(const CZ305TonUsrTonNode&) = delete;
    CZ305TonUsrTonNode& operator=(const CZ305TonUsrTonNode&) = delete;

    void Bind();

    CZ30UsrTonEncNode* Enc() const { return m_enc; }
    CZ30UsrTonDecNode* DecL() const { return m_decL; }
    CZ30UsrTonDecNode* DecH() const { return m_decH; }

private:
    std::unique_ptr<CZ30UsrTonEncNode> m_ownEnc;
    std::unique_ptr<CZ30UsrTonDecNode> m_ownDecL;
    std::unique_ptr<CZ30UsrTonDecNode> m_ownDecH;
    CZ30UsrTonEncNode* m_enc;
    CZ30UsrTonDecNode* m_decL;
    CZ30UsrTonDecNode* m_decH;
};

#include "sheets/channel_csv.h"

#include "clone/model_info.h"
#include "core/ctext.h"
#include "core/platform.h"
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/csv_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

const char* const kChannelCsvColumns[21] = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

namespace {

enum Column {
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kRxDtcsCode,
    kCrossMode,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kComment,
    kColumnCount = 21,
};

// What a column holds when a file lacks it or leaves a cell empty. An empty Power keeps the
// channel's power.
constexpr const char* kDefaults[kColumnCount] = {
    "",           "",   "", "", "0", "", "88.5", "88.5", "023", "NN", "023",
    "Tone->Tone", "FM", "", "", "",  "", "",     "",     "",    ""};

constexpr double kDuplexLimitHz = 70e6; // a TX this far from RX or farther is a split
constexpr int kWideRaster = 12500;
constexpr const char* kUserTonePath = "CommonSet.Expert.UsrCtcssFreq";
constexpr const char* kSettingsSection = "CSV";
constexpr const char* kLevelKeys[3] = {"Low1Watts", "Low2Watts", "HighWatts"};
constexpr CCsvWatts kLmrWatts{{1, 2, 5}};
constexpr CCsvWatts kPmrWatts{{0.1, 0.2, 0.5}};

std::string Mhz(long long hz) { return FormatFixed(static_cast<double>(hz) / 1e6, 6); }
// A frequency as given: six decimals, more where the text had finer digits.
std::string GivenMhz(double hz) {
    std::string text = FormatFixed(hz / 1e6, 9);
    while (text.size() - text.find('.') > 7 && text.back() == '0')
        text.pop_back();
    return text;
}
std::string ToneHz(int tenths) { return FormatFixed(tenths / 10.0, 1); }
std::string DcsText(int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", std::clamp(digits, 0, 777));
    return text;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// A number with a unit after it ("446.1 MHz", "5W"): the number, when the text ends in the unit
// (any case, blanks before it) or in none and unitless is allowed.
bool NumberWithUnit(std::string text, const char* unit, bool unitless, double* out) {
    const std::string u = Lower(unit);
    const std::string lower = Lower(text);
    if (lower.size() >= u.size() && lower.compare(lower.size() - u.size(), u.size(), u) == 0)
        text = TrimBlanks(text.substr(0, text.size() - u.size()));
    else if (!unitless)
        return false;
    return IsWholeCNumber(text) && ParseCDouble(text, out);
}

std::string ChoiceText(const CChoiceValue* choices, int code) {
    for (const CChoice& c : choices ? choices->Choices() : std::vector<CChoice>{})
        if (c.code == code) return c.text;
    return std::to_string(code);
}

// The power level nearest to watts, by the ratio of their outputs (as decibels compare).
int NearestLevel(const CCsvWatts& watts, double w) {
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(std::log(w / watts.level[i])) < std::fabs(std::log(w / watts.level[best])))
            best = i;
    return best;
}

// --- Tones -------------------------------------------------------------------------------------

struct CTone {
    enum Kind { None, Ctcss, Dcs } kind = None;
    int tenths = 0;        // a CTCSS tone in tenths of Hz
    int digits = 0;        // a DTCS code: its three octal digits read as a decimal number
    bool inverted = false; // a DTCS code of inverted polarity
};

// The radio's CTCSS tones (the tone-squelch choices 0 to 50) and its user tone.
class CToneTable {
public:
    CToneTable(CNode* root, CNode* channel) {
        if (const auto* tones =
                dynamic_cast<const CChoiceValue*>(channel ? channel->FindChild("CTonRx") : nullptr))
            for (const CChoice& c : tones->Choices()) {
                double hz = 0;
                if (c.code >= 0 && c.code < kToneUser && ParseCDouble(c.text, &hz))
                    m_table.push_back({c.code, static_cast<int>(std::lround(hz * 10))});
            }
        const CNode* user = GetNode(root, kUserTonePath);
        m_user = user ? user->GetValue() : -1;
    }

    CTone Of(int code) const {
        if (code == kToneUser) return {CTone::Ctcss, m_user};
        for (const auto& [c, tenths] : m_table)
            if (c == code) return {CTone::Ctcss, tenths};
        if (code >= kDcsNormal && code < kDcsEnd) {
            const bool inverted = code >= kDcsInverted;
            return {CTone::Dcs, 0, code - (inverted ? kDcsInverted : kDcsNormal), inverted};
        }
        return {};
    }

    // The code of a tone; present, when it stands for the same tone, stays. -1: the radio has
    // no such CTCSS tone.
    int CodeOf(const CTone& t, int present) const {
        const CTone now = Of(present);
        switch (t.kind) {
        case CTone::None:
            return now.kind == CTone::None ? present : kToneOff;
        case CTone::Dcs:
            return (t.inverted ? kDcsInverted : kDcsNormal) + t.digits;
        case CTone::Ctcss:
            if (now.kind == CTone::Ctcss && now.tenths == t.tenths) return present;
            for (const auto& [c, tenths] : m_table)
                if (tenths == t.tenths) return c;
            return t.tenths == m_user ? kToneUser : -1;
        }
        return -1;
    }
    int User() const { return m_user; }

private:
    std::vector<std::pair<int, int>> m_table; // code, tenths of Hz
    int m_user = -1;
};

// --- Export ------------------------------------------------------------------------------------

void PutTones(std::vector<std::string>& row, const CTone& tx, const CTone& rx) {
    row[kTone] = "";
    row[kRToneFreq] = row[kCToneFreq] = "88.5";
    row[kDtcsCode] = row[kRxDtcsCode] = "023";
    row[kDtcsPolarity] = "NN";
    row[kCrossMode] = "Tone->Tone";
    auto polarity = [](const CTone& t) { return t.kind == CTone::Dcs && t.inverted ? 'R' : 'N'; };
    const std::string polarities = {polarity(tx), polarity(rx)};
    if (tx.kind == CTone::None && rx.kind == CTone::None) return;
    if (tx.kind == CTone::Ctcss && rx.kind == CTone::None) {
        row[kTone] = "Tone";
        row[kRToneFreq] = ToneHz(tx.tenths);
    } else if (tx.kind == CTone::Ctcss && rx.kind == CTone::Ctcss && tx.tenths == rx.tenths) {
        row[kTone] = "TSQL";
        row[kRToneFreq] = row[kCToneFreq] = ToneHz(tx.tenths);
    } else if (tx.kind == CTone::Dcs && rx.kind == CTone::Dcs && tx.digits == rx.digits) {
        row[kTone] = "DTCS";
        row[kDtcsCode] = DcsText(tx.digits);
        row[kDtcsPolarity] = polarities;
    } else {
        row[kTone] = "Cross";
        std::string mode;
        if (tx.kind == CTone::Ctcss) {
            mode = "Tone";
            row[kRToneFreq] = ToneHz(tx.tenths);
        } else if (tx.kind == CTone::Dcs) {
            mode = "DTCS";
            row[kDtcsCode] = DcsText(tx.digits);
        }
        mode += "->";
        if (rx.kind == CTone::Ctcss) {
            mode += "Tone";
            row[kCToneFreq] = ToneHz(rx.tenths);
        } else if (rx.kind == CTone::Dcs) {
            mode += "DTCS";
            row[kRxDtcsCode] = DcsText(rx.digits);
        }
        row[kCrossMode] = mode;
        row[kDtcsPolarity] = polarities;
    }
}

std::vector<std::string> ExportRow(CNode* root, int n, const CCsvWatts& watts) {
    CNode* ch = ChannelNode(root, n);
    const CToneTable tones(root, ch);
    std::vector<std::string> row(kColumnCount);
    const long long rx = GetValueByName(ch, "FreqRx");
    const long long tx = GetValueByName(ch, "FreqTx");
    const bool inhTx = GetValueByName(ch, "InhTx") != 0;
    row[kLocation] = std::to_string(n);
    row[kFrequency] = Mhz(rx);
    row[kOffset] = Mhz(0);
    if (inhTx) {
        row[kDuplex] = "off";
    } else if (tx != rx && std::llabs(tx - rx) < kDuplexLimitHz) {
        row[kDuplex] = tx > rx ? "+" : "-";
        row[kOffset] = Mhz(std::llabs(tx - rx));
    } else if (tx != rx) {
        row[kDuplex] = "split";
        row[kOffset] = Mhz(tx);
    }
    PutTones(row, tones.Of(GetValueByName(ch, "CTonTx")), tones.Of(GetValueByName(ch, "CTonRx")));
    row[kMode] = GetValueByName(ch, "WidNar") ? "NFM" : "FM";
    const bool wide = rx % kWideRaster == 0 && (inhTx || tx % kWideRaster == 0);
    row[kTStep] = wide ? "12.5" : "6.25";
    row[kSkip] = GetValueByName(ch, "ScnLst1") ? "" : "S";
    row[kPower] =
        CsvWattsText(watts.level[std::clamp(static_cast<int>(GetValueByName(ch, "RfPwr")), 0, 2)]);
    return row;
}

// --- Import ------------------------------------------------------------------------------------

// What a row sets on its channel.
struct CChannelValues {
    int rx = 0, tx = 0, inhTx = 0, toneRx = kToneOff, toneTx = kToneOff, narrow = 0, scan = 1,
        power = 0;
};

// The reason a row is skipped.
struct CSkip {
    Column column;
    std::string text;
};

class CRowImport {
public:
    CRowImport(CNode* root, const CCsvRecord& record, const std::array<int, kColumnCount>& index,
               const std::vector<std::string>& names, const CCsvWatts& watts)
        : m_root(root), m_record(record), m_index(index), m_names(names), m_watts(watts) {}

    // The row's Location, or why it has none.
    std::optional<CSkip> Location(int* n) const {
        const std::string cell = Cell(kLocation);
        if (cell.empty() || cell.size() > 6 ||
            !std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return CSkip{kLocation, Quoted(cell) + " is not a channel number"};
        *n = std::atoi(cell.c_str());
        return std::nullopt;
    }

    // The channel the row names, or why it names none.
    std::optional<CSkip> Channel(int channels, int* n) const {
        if (auto skip = Location(n)) return skip;
        if (*n < 1) return CSkip{kLocation, "channel numbers start at 1 (renumbering takes it)"};
        if (*n > channels)
            return CSkip{kLocation, "channel " + Cell(kLocation) + ": " + Has(channels)};
        return std::nullopt;
    }

    // "this radio has 16 channels"
    static std::string Has(int channels) {
        return "this radio has " + std::to_string(channels) +
               (channels == 1 ? " channel" : " channels");
    }

    // Whether the row has a name or a comment.
    bool Named() const { return !Cell(kName).empty() || !Cell(kComment).empty(); }

    // The values for channel n, starting from what it holds (or the blank channel when it is
    // off); notes for values changed on the way.
    std::optional<CSkip> Values(int n, CChannelValues* v, std::vector<CCsvNote>* notes) {
        CNode* ch = ChannelNode(m_root, n);
        const bool on = IsChannelOn(m_root, n);
        CNode* base = on ? ch : ChannelNode(m_root, 0);
        const auto* rxNode = dynamic_cast<const CZ30MchFreqNode*>(ch->FindChild("FreqRx"));
        if (!rxNode) return CSkip{kFrequency, "the channel has no frequency"};
        m_notes = notes;
        const int presentRx = on ? GetValueByName(base, "FreqRx") : -1;
        const int presentTx = on ? GetValueByName(base, "FreqTx") : -1;

        // Frequencies.
        if (Cell(kFrequency).empty()) return CSkip{kFrequency, "no frequency"};
        double mhz = 0;
        if (auto skip = MhzNumber(kFrequency, &mhz)) return skip;
        if (auto skip = Frequency(*rxNode, kFrequency, "", mhz * 1e6, presentRx, &v->rx))
            return skip;
        const std::string duplex = Lower(Value(kDuplex));
        double offset = 0;
        if (duplex == "+" || duplex == "-" || duplex == "split")
            if (auto skip = MhzNumber(kOffset, &offset)) return skip;
        // The Duplex says on which side TX lies; a signed Offset does not move it across.
        if ((duplex == "+" || duplex == "-") && offset < 0) {
            offset = -offset;
            Note(kOffset, Quoted(Value(kOffset)) + " taken as " + FormatFixed(offset, 6) + " MHz " +
                              (duplex == "+" ? "above" : "below") +
                              " the receive frequency (Duplex " + duplex + ")");
        }
        v->inhTx = 0;
        if (duplex.empty()) {
            v->tx = v->rx;
        } else if (duplex == "off") {
            v->inhTx = 1;
            v->tx = on ? presentTx : v->rx;
        } else if (duplex == "+" || duplex == "-" || duplex == "split") {
            const double hz =
                duplex == "split" ? offset * 1e6 : v->rx + (duplex == "+" ? 1 : -1) * offset * 1e6;
            if (std::fabs(hz) < 0.5) { // no transmit frequency: the channel cannot transmit
                v->inhTx = 1;
                v->tx = on ? presentTx : v->rx;
                Note(kOffset, "TX 0 MHz taken as transmit inhibited (Duplex off)");
            } else if (auto skip = Frequency(*rxNode, kOffset, "TX ", hz, presentTx, &v->tx)) {
                return skip;
            }
        } else {
            return CSkip{kDuplex, Quoted(Value(kDuplex)) + " is none of '', +, -, split, off"};
        }

        // Tones.
        const CToneTable table(m_root, ch);
        CTone tx, rx;
        if (auto skip = Tones(&tx, &rx)) return skip;
        v->toneTx = table.CodeOf(tx, GetValueByName(base, "CTonTx"));
        v->toneRx = table.CodeOf(rx, GetValueByName(base, "CTonRx"));
        for (const auto& [code, tone, column] :
             {std::tuple{v->toneTx, tx, m_txToneColumn}, std::tuple{v->toneRx, rx, m_rxToneColumn}})
            if (code < 0)
                return CSkip{column, ToneHz(tone.tenths) +
                                         " Hz is not one of the radio's CTCSS tones nor its user "
                                         "tone (" +
                                         ToneHz(table.User()) + " Hz)"};

        // Mode, scan and power.
        const std::string mode = Lower(Value(kMode));
        if (mode != "fm" && mode != "nfm")
            return CSkip{kMode, Quoted(Value(kMode)) + ": the radio has FM and NFM only"};
        v->narrow = mode == "nfm";
        const std::string skip = Lower(Value(kSkip));
        v->scan = GetValueByName(base, "ScnLst1");
        if (skip.empty()) {
            v->scan = 1;
        } else if (skip == "p") {
            v->scan = 1;
            Note(kSkip, "'P' (priority scan) read as scanned: the priority channels are Prio A "
                        "and Prio B");
        } else if (skip == "s") {
            v->scan = 0;
        } else {
            Note(kSkip, Quoted(Value(kSkip)) + " is none of '', S, P; scan " +
                            (v->scan ? "ON" : "OFF") + " kept");
        }
        v->power = GetValueByName(base, "RfPwr");
        if (const std::string power = Value(kPower); !power.empty()) {
            const auto* choices = dynamic_cast<const CChoiceValue*>(base->FindChild("RfPwr"));
            std::string list;
            bool found = false;
            for (const CChoice& c : choices ? choices->Choices() : std::vector<CChoice>{}) {
                list += (list.empty() ? "" : ", ") + c.text;
                if (SameTextIgnoringCase(c.text, power)) {
                    v->power = c.code;
                    found = true;
                }
            }
            double watts = 0;
            if (!found && NumberWithUnit(power, "W", true, &watts) && watts > 0) {
                const int level = NearestLevel(m_watts, watts);
                v->power = level;
                if (std::fabs(watts - m_watts.level[level]) > 1e-9)
                    Note(kPower, Quoted(power) + " taken as " + ChoiceText(choices, level) + " (" +
                                     CsvWattsText(m_watts.level[level]) + "), the nearest level");
            } else if (!found) {
                Note(kPower, Quoted(power) + " is none of " + list + " nor watts (\"5W\"); " +
                                 GetTextByName(base, "RfPwr") + " kept");
            }
        }
        return std::nullopt;
    }

    // The column's name as the file writes it.
    std::string Name(Column c) const {
        const int i = m_index[c];
        return i >= 0 ? TrimBlanks(m_names[static_cast<std::size_t>(i)]) : kChannelCsvColumns[c];
    }

private:
    std::string Cell(Column c) const {
        int i = m_index[c];
        // A list with one tone frequency column uses it for both.
        if (i < 0 && (c == kRToneFreq || c == kCToneFreq))
            i = m_index[c == kRToneFreq ? kCToneFreq : kRToneFreq];
        if (i < 0 || static_cast<std::size_t>(i) >= m_record.fields.size()) return {};
        return TrimBlanks(m_record.fields[static_cast<std::size_t>(i)]);
    }
    std::string Value(Column c) const {
        std::string cell = Cell(c);
        return cell.empty() ? kDefaults[c] : cell;
    }
    void Note(Column c, std::string text) {
        m_notes->push_back({m_record.line, Name(c), std::move(text), false});
    }

    std::optional<CSkip> Number(Column c, double* out) const {
        const std::string text = Value(c);
        if (!IsWholeCNumber(text) || !ParseCDouble(text, out))
            return CSkip{c, Quoted(text) + " is not a number"};
        return std::nullopt;
    }
    // A frequency in MHz, "MHz" after it or not.
    std::optional<CSkip> MhzNumber(Column c, double* out) const {
        if (!NumberWithUnit(Value(c), "MHz", true, out))
            return CSkip{c, Quoted(Value(c)) + " is not a number"};
        return std::nullopt;
    }

    // A frequency in Hz through the channel frequency node's rule. The channel's present
    // frequency is always taken as it is.
    std::optional<CSkip> Frequency(const CZ30MchFreqNode& node, Column c, const char* what,
                                   double hz, int present, int* out) {
        const bool inRange = hz > -0.5 && hz < node.GetMax() + 0.5; // false for NaN too
        const int given = inRange ? static_cast<int>(std::llround(hz)) : -1;
        const bool wholeHz = std::fabs(hz - given) < 1e-3;
        if (inRange && given == present && wholeHz) {
            *out = present;
            return std::nullopt;
        }
        if (!inRange || given <= 0)
            return CSkip{c, what + FormatFixed(hz / 1e6, 6) +
                                " MHz is no channel frequency (above 0, up to " +
                                Mhz(node.GetMax()) + " MHz)"};
        const CFreqParse p = node.ParseFreq(Mhz(given));
        if (p.refused) return CSkip{c, what + Mhz(given) + " MHz fits no channel raster"};
        *out = p.code;
        if (p.code != given || !wholeHz)
            Note(c, what + GivenMhz(hz) + " MHz snapped to " + Mhz(p.code) + " MHz");
        return std::nullopt;
    }

    // A CTCSS tone; the radio keeps tenths of Hz.
    std::optional<CSkip> Ctcss(Column c, CTone* t) {
        double hz = 0;
        if (auto skip = Number(c, &hz)) return skip;
        if (!(hz > 0 && hz < 1000)) return CSkip{c, Quoted(Value(c)) + " is not a CTCSS tone"};
        const long tenths = std::lround(hz * 10);
        if (std::fabs(hz * 10 - static_cast<double>(tenths)) > 1e-6)
            Note(c, Quoted(Value(c)) + " Hz stored as " + ToneHz(static_cast<int>(tenths)) + " Hz");
        *t = {CTone::Ctcss, static_cast<int>(tenths)};
        return std::nullopt;
    }

    std::optional<CSkip> Dcs(Column c, char polarity, CTone* t) const {
        const std::string code = Value(c);
        if (code.empty() || code.size() > 3 ||
            !std::all_of(code.begin(), code.end(), [](char d) { return d >= '0' && d <= '7'; }))
            return CSkip{c, Quoted(code) + " is not a DTCS code (three octal digits)"};
        *t = {CTone::Dcs, 0, std::atoi(code.c_str()), polarity == 'R'};
        return std::nullopt;
    }

    // The tones of the Tone, CrossMode and tone columns.
    std::optional<CSkip> Tones(CTone* tx, CTone* rx) {
        const std::string polarity = Value(kDtcsPolarity);
        std::string pol;
        for (char p : polarity)
            pol += static_cast<char>(std::toupper(static_cast<unsigned char>(p)));
        if (pol.size() != 2 ||
            std::any_of(pol.begin(), pol.end(), [](char p) { return p != 'N' && p != 'R'; }))
            return CSkip{kDtcsPolarity, Quoted(polarity) + " is not two letters N or R"};
        const std::string mode = Lower(Value(kTone));
        m_txToneColumn = kRToneFreq;
        m_rxToneColumn = kCToneFreq;
        if (mode.empty()) return std::nullopt;
        if (mode == "tone") return Ctcss(kRToneFreq, tx);
        if (mode == "tsql") {
            m_txToneColumn = kCToneFreq;
            if (auto skip = Ctcss(kCToneFreq, tx)) return skip;
            *rx = *tx;
            return std::nullopt;
        }
        if (mode == "dtcs") {
            if (auto skip = Dcs(kDtcsCode, pol[0], tx)) return skip;
            return Dcs(kDtcsCode, pol[1], rx);
        }
        if (mode != "cross")
            return CSkip{kTone, Quoted(Value(kTone)) + " is none of '', Tone, TSQL, DTCS, Cross"};
        const std::string cross = Lower(Value(kCrossMode));
        const auto arrow = cross.find("->");
        const std::string from = arrow == std::string::npos ? "?" : cross.substr(0, arrow);
        const std::string to = arrow == std::string::npos ? "?" : cross.substr(arrow + 2);
        auto known = [](const std::string& s) { return s.empty() || s == "tone" || s == "dtcs"; };
        if (!known(from) || !known(to) || (from.empty() && to.empty()))
            return CSkip{kCrossMode, Quoted(Value(kCrossMode)) +
                                         " is none of Tone->Tone, Tone->DTCS, DTCS->Tone, "
                                         "->Tone, ->DTCS, Tone->, DTCS->, DTCS->DTCS"};
        if (from == "tone")
            if (auto skip = Ctcss(kRToneFreq, tx)) return skip;
        if (from == "dtcs")
            if (auto skip = Dcs(kDtcsCode, pol[0], tx)) return skip;
        if (to == "tone")
            if (auto skip = Ctcss(kCToneFreq, rx)) return skip;
        if (to == "dtcs")
            if (auto skip = Dcs(kRxDtcsCode, pol[1], rx)) return skip;
        return std::nullopt;
    }

    CNode* m_root;
    const CCsvRecord& m_record;
    const std::array<int, kColumnCount>& m_index;
    const std::vector<std::string>& m_names;
    const CCsvWatts& m_watts;
    std::vector<CCsvNote>* m_notes = nullptr;
    Column m_txToneColumn = kRToneFreq;
    Column m_rxToneColumn = kCToneFreq;
};

void Apply(CNode* root, int n, const CChannelValues& v) {
    if (!IsChannelOn(root, n)) ResetChannel(root, n);
    CNode* ch = ChannelNode(root, n);
    SetValueByName(ch, "ChOn", 1);
    SetValueByName(ch, "FreqRx", v.rx);
    SetValueByName(ch, "FreqTx", v.tx);
    SetValueByName(ch, "InhTx", v.inhTx);
    SetValueByName(ch, "CTonRx", v.toneRx);
    SetValueByName(ch, "CTonTx", v.toneTx);
    SetValueByName(ch, "WidNar", v.narrow);
    SetValueByName(ch, "ScnLst1", v.scan);
    SetValueByName(ch, "RfPwr", v.power);
}

void AddNote(CCsvImport& import, CCsvNote note) {
    if (import.notes.size() < CCsvImport::kMaxNotes)
        import.notes.push_back(std::move(note));
    else
        ++import.notesLeftOut;
}

} // namespace

const char* const kCsvNamesNote =
    "the radio stores no channel names or comments: those of the list are left aside";

CCsvWatts CsvPowerWatts(bool pmr) {
    const CCsvWatts defaults = pmr ? kPmrWatts : kLmrWatts;
    ISettingsStore* settings = Platform().settings;
    if (!settings) return defaults;
    CCsvWatts watts = defaults;
    for (int i = 0; i < 3; ++i) {
        const std::string text = TrimBlanks(settings->GetString(
            kSettingsSection, std::string(pmr ? "Pmr" : "Lmr") + kLevelKeys[i], ""));
        double w = 0;
        if (text.empty()) continue;
        if (!IsWholeCNumber(text) || !ParseCDouble(text, &w) || !(w >= 0.001 && w <= 1000))
            return defaults;
        watts.level[i] = std::round(w * 1000) / 1000; // as the Power column writes it
    }
    const double* l = watts.level;
    return l[0] < l[1] && l[1] < l[2] ? watts : defaults;
}

std::string CsvWattsText(double watts) {
    std::string text = FormatFixed(watts, 3);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text + "W";
}

bool ParseCsvLocations(std::string_view text, int* first, int* last) {
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) return false;
    auto number = [](std::string_view t, int* out) {
        if (t.empty() || t.size() > 6 ||
            !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        *out = std::atoi(std::string(t).c_str());
        return true;
    };
    int a = 0, b = 0;
    if (!number(text.substr(0, dash), &a) || !number(text.substr(dash + 1), &b) || a > b)
        return false;
    *first = a;
    *last = b;
    return true;
}

std::string ExportChannelCsv(CNode* root, int variant, int* count) {
    std::string text = CsvLine(
        std::vector<std::string>(std::begin(kChannelCsvColumns), std::end(kChannelCsvColumns)));
    const CCsvWatts watts = CsvPowerWatts(IsPmrVariant(variant));
    int rows = 0;
    for (int n = 1; n <= ChannelsOfVariant(variant); ++n) {
        if (!ChannelNode(root, n) || !IsChannelOn(root, n)) continue;
        text += CsvLine(ExportRow(root, n, watts));
        ++rows;
    }
    if (count) *count = rows;
    return text;
}

CCsvImport ImportChannelCsv(CNode* root, int variant, std::string_view text,
                            const CCsvImportOptions& options) {
    CCsvImport import;
    CCsvTable table = ParseCsv(text);
    if (!table.error.empty()) {
        import.error = table.error;
        return import;
    }
    // Comment lines stand anywhere, the header's place included.
    std::erase_if(table.records, [](const CCsvRecord& r) {
        return !r.fields.empty() && TrimBlanks(r.fields.front()).starts_with('#');
    });
    if (table.records.empty()) {
        import.error = "the file is empty: the first line must name the columns";
        return import;
    }
    // Columns by name, in any order; unknown ones are left aside.
    const CCsvRecord& header = table.records.front();
    const std::vector<std::string>& names = header.fields;
    std::array<int, kColumnCount> index;
    index.fill(-1);
    for (int c = 0; c < kColumnCount; ++c)
        for (std::size_t i = 0; i < names.size() && index[c] < 0; ++i)
            if (SameTextIgnoringCase(TrimBlanks(names[i]), kChannelCsvColumns[c]))
                index[c] = static_cast<int>(i);
    const bool byLocation = !options.renumber || options.first >= 0;
    for (Column c : {kLocation, kFrequency})
        if (index[c] < 0 && (c != kLocation || byLocation)) {
            std::string holds;
            for (const std::string& f : names)
                holds += (holds.empty() ? "" : ",") + f;
            if (holds.size() > 60) holds = holds.substr(0, 57) + "...";
            import.error = std::string("the file has no ") + kChannelCsvColumns[c] +
                           " column: line " + std::to_string(header.line) + " holds '" + holds +
                           "' (the first line that is not a comment must name the columns)";
            return import;
        }

    const int channels = ChannelsOfVariant(variant);
    const CCsvWatts watts = CsvPowerWatts(IsPmrVariant(variant));
    std::vector<int> rowOf(static_cast<std::size_t>(channels) + 1, 0); // the row that set a channel
    int next = 1;    // the channel of the next row when renumbering
    CCsvNote beyond; // the rows renumbered beyond the radio's channels
    beyond.rows = 0;
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        const CCsvRecord& record = table.records[r];
        if (std::all_of(record.fields.begin(), record.fields.end(),
                        [](const std::string& f) { return TrimBlanks(f).empty(); }))
            continue;
        CRowImport row(root, record, index, names, watts);
        int n = 0;
        if (options.first >= 0 && (row.Location(&n) || n < options.first || n > options.last)) {
            ++import.outsideRows;
            continue;
        }
        if (row.Named()) import.namesLeftAside = true;
        if (options.renumber) n = next++;
        // A row cut short (a download that stopped) would give its last fields the defaults.
        if (record.fields.size() < names.size()) {
            ++import.skippedRows;
            AddNote(import, {record.line,
                             {},
                             "has " + std::to_string(record.fields.size()) + " of " +
                                 std::to_string(names.size()) + " fields",
                             true});
            continue;
        }
        if (options.renumber && n > channels) {
            if (beyond.rows == 0)
                beyond = {record.line, row.Name(kLocation), CRowImport::Has(channels), true, 0};
            ++beyond.rows;
            ++import.skippedRows;
            continue;
        }
        std::vector<CCsvNote> notes;
        CChannelValues values;
        std::optional<CSkip> skip = options.renumber ? std::nullopt : row.Channel(channels, &n);
        if (!skip && rowOf[static_cast<std::size_t>(n)])
            skip = CSkip{kLocation, "channel " + std::to_string(n) + " was set by row " +
                                        std::to_string(rowOf[static_cast<std::size_t>(n)])};
        if (!skip) skip = row.Values(n, &values, &notes);
        if (skip) {
            ++import.skippedRows;
            AddNote(import, {record.line, row.Name(skip->column), skip->text, true});
            continue;
        }
        Apply(root, n, values);
        rowOf[static_cast<std::size_t>(n)] = record.line;
        import.channels.push_back(n);
        if (!notes.empty()) ++import.adjustedRows;
        for (CCsvNote& note : notes)
            AddNote(import, std::move(note));
    }
    if (beyond.rows) {
        beyond.text = "rows from here on go beyond channel " + std::to_string(channels) + " (" +
                      std::to_string(beyond.rows) + (beyond.rows == 1 ? " row" : " rows") +
                      "): " + beyond.text;
        AddNote(import, std::move(beyond));
    }
    return import;
}

std::string CsvNoteText(const CCsvNote& note) {
    return "row " + std::to_string(note.row) +
           (note.column.empty() ? " " : ", " + note.column + ": ") + note.text +
           (note.skipped ? (note.rows > 1 ? "; rows skipped" : "; row skipped") : "");
}

std::string CsvImportSummary(const CCsvImport& import) {
    auto plural = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text = plural(import.channels.size(), "channel", "channels") + " imported";
    if (!import.channels.empty()) {
        std::vector<int> sorted = import.channels;
        std::sort(sorted.begin(), sorted.end());
        std::string list;
        for (std::size_t i = 0; i < sorted.size();) {
            std::size_t j = i;
            while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1)
                ++j;
            list += (list.empty() ? "" : ", ") + std::to_string(sorted[i]);
            if (j > i) list += (j == i + 1 ? ", " : " to ") + std::to_string(sorted[j]);
            i = j + 1;
        }
        text += " (CH " + list + ")";
    }
    if (import.skippedRows) text += ", " + plural(import.skippedRows, "row", "rows") + " skipped";
    if (import.adjustedRows)
        text += ", " + plural(import.adjustedRows, "row", "rows") + " adjusted";
    if (import.outsideRows)
        text += ", " + plural(import.outsideRows, "row", "rows") + " outside the locations";
    return text;
}

#include "app/dump_text.h"

#include "core/ctext.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr std::size_t kMaxErrors = 20; // a text that is no dump at all is told briefly

// A whole decimal integer: an optional sign, then digits only, within 32 bits.
bool WholeInt(const std::string& text, int* n) {
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    long long v = 0;
    if (text.size() <= sign || text.find_first_not_of("0123456789", sign) != std::string::npos ||
        !ParseCInt(text, &v) || v < INT_MIN || v > INT_MAX)
        return false;
    *n = static_cast<int>(v);
    return true;
}

// The channel number of a channel's field other than its switch ("Mch.CH3.FreqRx"), else 0.
int ChannelOfField(const std::string& path) {
    int n = 0;
    std::string_view field;
    return SplitChannelPath(path, &n, &field) && !field.empty() && field != "ChOn" ? n : 0;
}

bool HasChoices(const CNode& node) {
    const auto* choices = dynamic_cast<const CChoiceValue*>(&node);
    return choices && !choices->Choices().empty();
}

// What the radio never gets of a variant.
bool Unused(const CCloneSupportDoc& doc, const std::string& path) {
    switch (doc.Keeps(path).reason) {
    case CSetReason::DefaultChannel:
    case CSetReason::BeyondChannels:
    case CSetReason::OtherFamily:
    case CSetReason::NotStored:
        return true;
    default:
        return false;
    }
}

void Dump(const CCloneSupportDoc& doc, const CNode* node, const std::string& path, bool all,
          std::string& out) {
    for (const CNode* child : node->Children()) {
        if (!child) continue;
        const std::string p = path.empty() ? child->GetName() : path + "." + child->GetName();
        if (!all && Unused(doc, p)) continue;
        if (child->ChildCount() == 0)
            out += p + "\t" + std::to_string(child->GetValue()) + "\t" + ValueText(*child) + "\n";
        else
            Dump(doc, child, p, all, out);
    }
}

} // namespace

std::string DumpText(const CCloneSupportDoc& doc, bool all) {
    std::string out;
    if (const CNode* root = doc.GetRoot()) Dump(doc, root, {}, all, out);
    return out;
}

CDumpText ParseDumpText(const std::string& text) {
    CDumpText dump;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        CDumpLine d;
        d.line = number;
        std::string why;
        if (tab2 == std::string::npos || tab1 == 0)
            why = "not PATH<tab>CODE<tab>TEXT";
        else if (!WholeInt(line.substr(tab1 + 1, tab2 - tab1 - 1), &d.code))
            why = "'" + line.substr(tab1 + 1, tab2 - tab1 - 1).substr(0, 40) +
                  "' is not an integer code";
        if (!why.empty()) {
            if (dump.errors.size() < kMaxErrors)
                dump.errors.push_back("line " + std::to_string(number) + ": " + why);
            continue;
        }
        d.path = line.substr(0, tab1);
        d.text = line.substr(tab2 + 1);
        dump.lines.push_back(std::move(d));
    }
    return dump;
}

CDumpApplied ApplyDumpLines(CCloneSupportDoc& doc, const std::vector<CDumpLine>& lines,
                            const std::string& label) {
    CDumpApplied applied;
    applied.step = doc.Edit(label, [&](CNode& root, CEditReport& report) {
        for (const CDumpLine& d : lines) {
            const std::string where = "line " + std::to_string(d.line) + ": " + d.path + ": ";
            CNode* node = GetNode(&root, d.path);
            if (!node || node->ChildCount() > 0 || d.path.empty()) {
                report.SetText(d.path, d.text); // refused: unknown path, or a group of values
                applied.lineOf.push_back(d.line);
                applied.byCode.push_back(false);
                continue;
            }
            const bool text = dynamic_cast<CStringNode*>(node) != nullptr;
            if (ValueText(*node) == d.text && (text || node->GetValue() == d.code)) continue;
            if (const int ch = ChannelOfField(d.path);
                ch && GetValueByName(GetNode(&root, "Mch.CH" + std::to_string(ch)), "ChOn") == 0) {
                applied.notes.push_back(where + "channel " + std::to_string(ch) +
                                        " is off; left as it is");
                continue;
            }
            const std::string codeText = std::to_string(d.code);
            int number = 0;
            const bool numeric = !text && !HasChoices(*node) && WholeInt(d.text, &number);
            CSetResult r;
            bool byCode = false;
            if (!text && d.text == codeText) {
                r = node->SetValue(d.code);
                byCode = true;
            } else {
                r = node->SetText(d.text);
                if (!r.Taken() && r.reason == CSetReason::NotAChoice && numeric) {
                    r = node->SetValue(number); // a value without texts: the text is its code
                    byCode = true;
                }
                if (r.Taken() && !text && node->GetValue() != d.code)
                    applied.notes.push_back(where + "code " + codeText + " and text '" + d.text +
                                            "' disagree; the text is taken");
            }
            report.Add(d.path, d.text, std::move(r));
            applied.lineOf.push_back(d.line);
            applied.byCode.push_back(byCode);
        }
    });
    return applied;
}

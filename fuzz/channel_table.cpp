// Fuzz target: any clipboard text pasted into a memory sheet is either refused with nothing
// changed, or goes only to the channels the paste starts at and after it (never past the last
// row), one row to each; what it made copies and pastes back unchanged.
#include "sheets/channel_table.h"
#include "app/clone_support_doc.h"
#include "clone/model_info.h"
#include "fuzz_docs.h"
#include "sheets/mch_rows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

CTableEdit Paste(CZ30Doc& doc, int rows, const std::vector<int>& selected,
                 const std::string& text) {
    CTableEdit edit;
    doc.Edit("Paste", [&](CNode& root, CEditReport&) {
        edit = PasteMchTable(&root, IsPmrVariant(doc.GetVariant()), doc.GetVariant(), rows,
                             selected, text);
    });
    return edit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& line : SplitTabText(text))
        Check(!line.empty());

    // The first byte picks the radio and the row the paste starts at.
    const std::uint8_t pick = size ? data[0] : 0;
    const CFuzzDoc fuzz = FreshFuzzDoc(pick);
    CZ30Doc& doc = fuzz.doc;
    const int variant = doc.GetVariant();
    const bool pmr = IsPmrVariant(variant);
    const int rows = MchSheetRows(variant);
    const int first = 1 + (pick >> 2) % rows;
    const CTableEdit edit = Paste(doc, rows, {first}, text);
    if (!edit.error.empty()) {
        Check(doc.ImageBytes() == fuzz.factory);
        return 0;
    }
    for (int n : edit.channels)
        Check(n >= first && n <= rows);
    for (const auto& [n, r] : edit.values)
        Check(n >= first && n <= rows && !r.node.empty());

    // The rows as the sheet shows them now paste back onto themselves without a change.
    const std::vector<std::uint8_t> pasted = doc.ImageBytes();
    std::vector<std::vector<std::string>> shown;
    for (int row = 0; row < rows; ++row)
        shown.push_back(MchRowTexts(doc.GetRoot(), pmr, variant, row));
    const CTableEdit back =
        Paste(doc, rows, {1}, TableText(pmr ? kMchPmrSheet : kMchLmrSheet, shown));
    Check(back.error.empty() && back.channels.size() == static_cast<std::size_t>(rows));
    Check(doc.ImageBytes() == pasted);
    return 0;
}

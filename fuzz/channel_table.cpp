// Fuzz target: any clipboard text pasted into a memory sheet is either refused with nothing
// changed, or goes only to the channels the paste starts at and after it (never past the last
// row), one row to each; what it made copies and pastes back unchanged.
#include "sheets/channel_table.h"
#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "sheets/channel_ops.h"
#include "sheets/mch_rows.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

CTableEdit Paste(CZ30Doc& doc, bool pmr, const std::vector<int>& selected,
                 const std::string& text) {
    CTableEdit edit;
    doc.Edit("Paste", [&](CNode& root, CEditReport&) {
        edit = PasteMchTable(&root, pmr, doc.GetVariant(), 16, selected, text);
    });
    return edit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A 16-channel radio of each family, kept for the whole run.
    static std::vector<std::unique_ptr<CZ30Doc>> docs = [] {
        std::vector<std::unique_ptr<CZ30Doc>> list;
        for (int variant : {4, 5}) {
            auto doc = std::make_unique<CZ30Doc>();
            doc->SetRememberVariant(false);
            doc->GetCloneManager()->GetModelManager()->SetVariant(variant, true);
            list.push_back(std::move(doc));
        }
        return list;
    }();
    static std::vector<std::vector<std::uint8_t>> defaults = [] {
        std::vector<std::vector<std::uint8_t>> list;
        for (const auto& doc : docs)
            list.push_back(doc->ImageBytes());
        return list;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& line : SplitTabText(text))
        Check(!line.empty());

    // The first byte picks the radio and the row the paste starts at.
    const std::size_t which = size ? data[0] % 2 : 0;
    const int first = size ? 1 + (data[0] >> 1) % 16 : 1;
    const bool pmr = which == 1;
    CZ30Doc& doc = *docs[which];
    doc.RestoreImage(defaults[which], CChangeReason::Load);
    const CTableEdit edit = Paste(doc, pmr, {first}, text);
    if (!edit.error.empty()) {
        Check(doc.ImageBytes() == defaults[which]);
        return 0;
    }
    for (std::size_t k = 0; k < edit.channels.size(); ++k)
        Check(edit.channels[k] >= first && edit.channels[k] <= 16);
    for (const auto& [n, r] : edit.values)
        Check(n >= first && n <= 16 && !r.node.empty());

    // The rows as the sheet shows them now paste back onto themselves without a change.
    const std::vector<std::uint8_t> pasted = doc.ImageBytes();
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < 16; ++row)
        rows.push_back(MchRowTexts(doc.GetRoot(), pmr, doc.GetVariant(), row));
    const CTableEdit back =
        Paste(doc, pmr, {1}, TableText(pmr ? kMchPmrSheet : kMchLmrSheet, rows));
    Check(back.error.empty() && back.channels.size() == 16);
    Check(doc.ImageBytes() == pasted);
    return 0;
}

// Fuzz target: any text as a dump gives lines or reasons, never both for one line; set in a
// document it changes nothing when a line was refused by form, every outcome names a line of the
// text, and the dump of what it made sets back without a change.
#include "app/dump_text.h"
#include "tests/support/variant_doc.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A 16-channel radio of each family and a 1-channel one, kept for the whole run.
    static std::vector<std::unique_ptr<CZ30Doc>> docs = [] {
        std::vector<std::unique_ptr<CZ30Doc>> list;
        for (int variant : {5, 4, 1})
            list.push_back(VariantDoc(variant));
        return list;
    }();
    static std::vector<std::vector<std::uint8_t>> defaults = [] {
        std::vector<std::vector<std::uint8_t>> list;
        for (const auto& doc : docs)
            list.push_back(doc->ImageBytes());
        return list;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CDumpText dump = ParseDumpText(text);
    int last = 0;
    for (const CDumpLine& line : dump.lines) {
        Check(line.line > last && !line.path.empty());
        last = line.line;
    }
    if (!dump.errors.empty()) return 0; // nothing is set then

    const std::size_t which = size ? data[size - 1] % docs.size() : 0;
    CZ30Doc& doc = *docs[which];
    doc.RestoreImage(defaults[which], CChangeReason::Load);
    const CDumpApplied applied = ApplyDumpLines(doc, dump.lines, "set");
    Check(applied.lineOf.size() == applied.step.outcomes.size());
    Check(applied.byCode.size() == applied.step.outcomes.size());
    for (int line : applied.lineOf)
        Check(line >= 1 && line <= last);
    if (applied.step.outcomes.empty()) Check(doc.ImageBytes() == defaults[which]);

    // What it made, dumped and set again, is what it is.
    const std::vector<std::uint8_t> made = doc.ImageBytes();
    const CDumpText again = ParseDumpText(DumpText(doc, false));
    Check(again.errors.empty());
    ApplyDumpLines(doc, again.lines, "set");
    Check(doc.ImageBytes() == made);
    return 0;
}

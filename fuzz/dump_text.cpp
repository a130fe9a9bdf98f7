// Fuzz target: any text as a dump gives lines or reasons, never both for one line; set in a
// document it changes nothing when a line was refused by form, every outcome names a line of the
// text, and the dump of what it made sets back without a change.
#include "app/dump_text.h"
#include "fuzz_docs.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CDumpText dump = ParseDumpText(text);
    int last = 0;
    for (const CDumpLine& line : dump.lines) {
        Check(line.line > last && !line.path.empty());
        last = line.line;
    }
    if (!dump.errors.empty()) return 0; // nothing is set then

    const CFuzzDoc fresh = FreshFuzzDoc(size ? data[size - 1] : 0);
    CZ30Doc& doc = fresh.doc;
    const CDumpApplied applied = ApplyDumpLines(doc, dump.lines, "set");
    Check(applied.lineOf.size() == applied.step.outcomes.size());
    Check(applied.byCode.size() == applied.step.outcomes.size());
    for (int line : applied.lineOf)
        Check(line >= 1 && line <= last);
    if (applied.step.outcomes.empty()) Check(doc.ImageBytes() == fresh.factory);

    // What it made, dumped and set again, is what it is.
    const std::vector<std::uint8_t> made = doc.ImageBytes();
    const CDumpText again = ParseDumpText(DumpText(doc, false));
    Check(again.errors.empty());
    ApplyDumpLines(doc, again.lines, "set");
    Check(doc.ImageBytes() == made);
    return 0;
}

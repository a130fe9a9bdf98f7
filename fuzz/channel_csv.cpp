// Fuzz target: any text as a channel list gives a table or a reason, and an import either
// changes nothing (no channel list) or sets only channels the radio has, every row it left or
// changed noted by a row of the text; what it made exports and imports back unchanged.
#include "sheets/channel_csv.h"
#include "app/clone_support_doc.h"
#include "clone/model_info.h"
#include "clone/model_manager.h"
#include "sheets/csv_table.h"

#include "fuzz_docs.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

CCsvImport Import(CZ30Doc& doc, const std::string& text, const CCsvImportOptions& options = {}) {
    CCsvImport import;
    doc.Edit("Import Channels", [&](CNode& root, CEditReport&) {
        import = ImportChannelCsv(&root, doc.GetVariant(), text, options);
    });
    return import;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CCsvTable table = ParseCsv(text);
    Check(table.error.empty() || table.records.empty());

    const CFuzzDoc fresh = FreshFuzzDoc(size ? data[0] : 0);
    CZ30Doc& doc = fresh.doc;
    // The first byte also picks renumbering and a range of Locations.
    CCsvImportOptions options;
    options.renumber = size && (data[0] & 8);
    if (size && (data[0] & 16)) {
        options.first = data[0] >> 6;
        options.last = options.first + 5;
    }
    const CCsvImport import = Import(doc, text, options);
    if (!import.error.empty()) {
        Check(doc.ImageBytes() == fresh.factory);
        return 0;
    }
    const int channels = ChannelsOfVariant(doc.GetVariant());
    for (int n : import.channels)
        Check(n >= 1 && n <= channels);
    for (const CCsvNote& note : import.notes)
        Check(note.row >= 2 && !note.text.empty());
    Check(import.notes.size() <= CCsvImport::kMaxNotes);
    Check(import.Clean() == (import.notes.empty() && import.notesLeftOut == 0));

    const std::vector<std::uint8_t> imported = doc.ImageBytes();
    const CCsvImport back = Import(doc, ExportChannelCsv(doc.GetRoot(), doc.GetVariant()));
    Check(back.Clean());
    Check(doc.ImageBytes() == imported);
    return 0;
}

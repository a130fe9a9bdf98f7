#include "cli/set_from_cmd.h"

#include "app/clone_support_doc.h"
#include "app/dump_text.h"
#include "app/image_compare.h"
#include "cli/commands.h"
#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The bytes of base that no value covers, and its adjust area, into the document's image.
bool TakeBase(CZ30Doc& doc, const std::string& path) {
    auto base = NewCliDocument();
    if (!LoadCliDocument(*base, path)) return false;
    if (base->GetVariant() != doc.GetVariant()) {
        std::fprintf(stderr, "ktz30cli set: --base %s is a %s file, not %s\n", path.c_str(),
                     CliVariantName(base->GetVariant()).c_str(),
                     CliVariantName(doc.GetVariant()).c_str());
        return false;
    }
    CImageComparer map(doc.GetCloneManager()->GetRadioDataManager());
    std::vector<std::uint8_t> bytes = doc.ImageBytes();
    const std::vector<std::uint8_t> from = base->ImageBytes();
    for (std::uint32_t a = 0; a < bytes.size() && a < from.size(); ++a) {
        const std::uint8_t covered = a < kAdjustAreaEnd ? 0 : map.CoveredBits(doc.GetVariant(), a);
        bytes[a] = static_cast<std::uint8_t>((bytes[a] & covered) | (from[a] & ~covered));
    }
    doc.RestoreImage(bytes, CChangeReason::Edit);
    return true;
}

} // namespace

int RunSetFrom(const CCliArgs& a) {
    std::string text;
    errno = 0;
    switch (ReadFileBounded(a.from, &text)) {
    case KtRead::Ok:
        break;
    case KtRead::TooLarge:
        std::fprintf(stderr, "ktz30cli set: %s is larger than any dump\n", a.from.c_str());
        return kExitFailure;
    case KtRead::CannotOpen:
        std::fprintf(stderr, "ktz30cli set: cannot open %s: %s\n", a.from.c_str(),
                     errno ? std::strerror(errno) : "unreadable");
        return kExitFailure;
    }
    const CDumpText dump = ParseDumpText(text);
    if (!dump.errors.empty()) {
        for (const std::string& e : dump.errors)
            std::fprintf(stderr, "ktz30cli set: %s: %s\n", a.from.c_str(), e.c_str());
        std::fprintf(stderr, "ktz30cli set: nothing saved\n");
        return kExitFailure;
    }
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        const CDumpApplied applied = ApplyDumpLines(doc, dump.lines, "set");
        for (const std::string& note : applied.notes)
            std::fprintf(stderr, "ktz30cli set: %s\n", note.c_str());
        int adjusted = 0;
        bool refused = false;
        const std::vector<CEditOutcome>& outcomes = applied.step.outcomes;
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            const CEditOutcome& o = outcomes[i];
            const std::string line = "line " + std::to_string(applied.lineOf[i]) + ": ";
            if (!o.result.Taken() || o.result.status == CSetStatus::NotKept) {
                refused = true;
                std::fprintf(stderr, "ktz30cli set: %s%s\n", line.c_str(),
                             SetFailureText(doc, o, applied.byCode[i]).c_str());
            } else if (o.result.status == CSetStatus::Adjusted) {
                ++adjusted;
                std::fprintf(stderr, "ktz30cli set: %s%s: given '%s', stored '%s' (%s)\n",
                             line.c_str(), o.path.c_str(), o.given.c_str(), o.result.stored.c_str(),
                             SetReasonText(o.result.reason));
            }
            TellSetNote(doc, "set", o);
        }
        if (refused) {
            std::fprintf(stderr, "ktz30cli set: nothing saved\n");
            return kExitFailure;
        }
        if (!a.base.empty() && !TakeBase(doc, a.base)) return kExitFailure;
        const std::size_t n = outcomes.size();
        const std::string done = std::to_string(n) + " value" + (n == 1 ? "" : "s") + " set" +
                                 (adjusted ? ", " + std::to_string(adjusted) + " adjusted" : "") +
                                 " from " + a.from;
        return SaveEditedDocument(doc, a.file, a.output, done) ? 0 : kExitFailure;
    });
}

// Fuzz target: any text as a fleet's plan gives a plan or a reason; a plan's rows have a cell per
// column and keys of their own, and each row applied to a radio's document is taken or refused
// with its row and column named; counting on keeps the start's width.
#include "app/clone_support_doc.h"
#include "app/fleet_plan.h"
#include "clone/model_manager.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<CZ30Doc> doc = [] {
        auto d = std::make_unique<CZ30Doc>();
        d->SetRememberVariant(false);
        d->GetCloneManager()->GetModelManager()->SetVariant(5, true);
        return d;
    }();
    static const std::vector<std::uint8_t> defaults = doc->ImageBytes();
    const std::string text(reinterpret_cast<const char*>(data), size);
    CFleetPlan plan;
    std::string error;
    if (!ParseFleetPlan(text, &plan, &error)) {
        Check(!error.empty());
    } else {
        std::set<std::string> keys;
        for (const CPlanRow& row : plan.rows) {
            Check(row.cells.size() == plan.columns.size());
            Check(!row.key.empty() && keys.insert(row.key).second);
        }
        for (std::size_t r = 0; r < plan.rows.size() && r < 4; ++r) {
            doc->RestoreImage(defaults, CChangeReason::Load);
            std::vector<std::string> adjusted;
            std::string why;
            if (!ApplyPlanRow(*doc, plan, r, &adjusted, &why))
                Check(why.find(", column ") != std::string::npos);
            for (const std::string& a : adjusted)
                Check(a.find("given '") != std::string::npos);
        }
    }
    // The text's first line as a start to count on.
    const std::string start = text.substr(0, std::min<std::size_t>(text.find('\n'), 40));
    std::string counted;
    if (CountOn(start, size, &counted)) Check(counted.size() == start.size());
    return 0;
}

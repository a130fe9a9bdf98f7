// The document's one editing path and its change notice.
#include "app/clone_support_doc.h"

#include "clone/adjust_data_manager.h"
#include "clone/byte_image.h"
#include "clone/radio_data_manager.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <algorithm>

// --- CEditReport, CEditStep ----------------------------------------------------------------------

CSetResult CEditReport::SetText(const std::string& path, const std::string& text) {
    CNode* node = path.empty() ? nullptr : GetNode(&m_root, path);
    CSetResult r =
        node ? node->SetText(text) : CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    Add(path, text, r);
    return r;
}

CSetResult CEditReport::SetCode(const std::string& path, int code) {
    CNode* node = path.empty() ? nullptr : GetNode(&m_root, path);
    CSetResult r =
        node ? node->SetValue(code) : CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    Add(path, std::to_string(code), r);
    return r;
}

void CEditReport::Add(std::string path, std::string given, CSetResult result) {
    m_outcomes.push_back({std::move(path), std::move(given), std::move(result)});
}

bool CEditStep::AllTaken() const {
    return std::all_of(outcomes.begin(), outcomes.end(),
                       [](const CEditOutcome& o) { return o.result.Taken(); });
}

// --- Editing -------------------------------------------------------------------------------------

std::vector<std::uint8_t> CCloneSupportDoc::ImageBytes() const {
    const CByteImage* image = m_hub->GetImage();
    return image ? std::vector<std::uint8_t>(image->Data(), image->Data() + image->Size())
                 : std::vector<std::uint8_t>();
}

CEditStep CCloneSupportDoc::Edit(std::string label,
                                 const std::function<void(CNode& root, CEditReport&)>& change,
                                 std::string changedPath) {
    CEditStep step;
    step.label = std::move(label);
    m_hub->TreeToImage();
    step.before = ImageBytes();
    if (CNode* root = GetRoot()) {
        CEditReport report(*root);
        change(*root, report);
        step.outcomes = std::move(report.Outcomes());
    }
    // What the values set hold before the values derived from them are brought up to date.
    std::vector<std::string> held;
    for (const CEditOutcome& o : step.outcomes) {
        const CNode* node = o.result.Taken() ? GetNode(GetRoot(), o.path) : nullptr;
        held.push_back(node ? ValueText(*node) : std::string());
    }
    CRadioDataManager* data = m_hub->GetRadioDataManager();
    for (const CEditOutcome& o : step.outcomes)
        if (data && o.result.Taken()) data->UpdateDependents(o.path);
    for (std::size_t i = 0; i < step.outcomes.size(); ++i) {
        CSetResult& r = step.outcomes[i].result;
        const CNode* node = r.Taken() ? GetNode(GetRoot(), step.outcomes[i].path) : nullptr;
        if (!node || ValueText(*node) == held[i]) continue;
        r.ChangedBefore(CSetReason::Centred);
        r.stored = ValueText(*node);
    }
    m_hub->TreeToImage();
    step.after = ImageBytes();
    if (CheckAgainstImage(step.outcomes)) {
        m_hub->TreeToImage();
        step.after = ImageBytes();
    }
    if (step.Changed()) SetModifiedFlag(true);
    Notify(CChangeReason::Edit, changedPath);
    return step;
}

namespace {

// The live node takes the value of the node the image gave back.
void TakeValue(CNode& live, const CNode& kept) {
    if (auto* text = dynamic_cast<CStringNode*>(&live))
        text->SetString(static_cast<const CStringNode&>(kept).GetString());
    else
        live.SetValue(kept.GetValue());
}

} // namespace

bool CCloneSupportDoc::CheckAgainstImage(std::vector<CEditOutcome>& outcomes) {
    CRadioDataManager* data = m_hub->GetRadioDataManager();
    if (!data) return false;
    bool retaken = false;
    std::unique_ptr<CRadioDataManager> scratch; // the tree a save and a reload would give
    for (CEditOutcome& o : outcomes) {
        if (!o.result.Taken()) continue;
        const CKeep keep = data->Keeps(o.path);
        if (keep.reason == CSetReason::BeyondChannels) {
            // Every channel record is stored, whatever the variant uses.
            o.note = SetReasonText(keep.reason);
        } else if (!keep.Kept()) {
            o.result.status = CSetStatus::NotKept;
            o.result.reason = keep.reason;
            o.result.detail = keep.detail;
            continue;
        }
        if (!scratch) {
            CByteImage saved;
            saved.CopyFrom(*m_hub->GetImage());
            if (CAdjustDataManager* adjust = m_hub->GetAdjustDataManager())
                adjust->FixUpImage(saved);
            scratch = data->NewScratch(GetVariant());
            if (!scratch) return retaken;
            scratch->ImageToTree(scratch->GetRoot(), saved);
        }
        CNode* live = GetNode(GetRoot(), o.path);
        const CNode* kept = GetNode(scratch->GetRoot(), o.path);
        if (!live || !kept) continue;
        const std::string keptText = ValueText(*kept);
        if (keptText == ValueText(*live)) continue;
        o.result.status = CSetStatus::Adjusted;
        o.result.reason = CSetReason::ImageForm;
        o.result.stored = keptText;
        if (live->ChildCount() == 0 && kept->ChildCount() == 0) {
            TakeValue(*live, *kept);
            retaken = true;
        }
    }
    return retaken;
}

void CCloneSupportDoc::RestoreImage(const std::vector<std::uint8_t>& bytes, CChangeReason reason) {
    CByteImage* image = m_hub->GetImage();
    if (!image || bytes.size() != image->Size()) return;
    image->WriteBlock(0, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    m_hub->ImageToTree();
    SetModifiedFlag(true);
    Notify(reason, {});
}

CKeep CCloneSupportDoc::Keeps(const std::string& path) const {
    CRadioDataManager* data = m_hub->GetRadioDataManager();
    return data ? data->Keeps(path) : CKeep{};
}

// --- Change notice -------------------------------------------------------------------------------

int CCloneSupportDoc::Subscribe(CChangeHandler handler) {
    m_subscribers.emplace_back(++m_lastSubscriber, std::move(handler));
    return m_lastSubscriber;
}

void CCloneSupportDoc::Unsubscribe(int id) {
    std::erase_if(m_subscribers, [id](const auto& s) { return s.first == id; });
}

void CCloneSupportDoc::Notify(CChangeReason reason, const std::string& path) {
    const CChangeNotice notice{++m_revision, reason, path};
    // Handlers may subscribe or unsubscribe while they run: those subscribed when the notice
    // starts hear it unless they are gone by their turn.
    std::vector<int> ids;
    for (const auto& s : m_subscribers)
        ids.push_back(s.first);
    for (int id : ids) {
        auto it = std::find_if(m_subscribers.begin(), m_subscribers.end(),
                               [id](const auto& s) { return s.first == id; });
        if (it == m_subscribers.end() || !it->second) continue;
        const CChangeHandler handler = it->second; // it may be erased while it runs
        handler(notice);
    }
}

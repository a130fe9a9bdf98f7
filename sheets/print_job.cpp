#include "sheets/print_job.h"

#include "core/platform.h"
#include "sheets/mch_rows.h"
#include "sheets/setting_forms.h"
#include "sheets/sheet_desc.h"
#include "sheets/signal_sheets.h"

#include <iterator>

namespace {

using I = CPrintItem;

// Each item: its title and where its texts come from.
enum class CSource { Memory, Sheet, Form, Dialog };
struct CItemDef {
    const char* title;
    CSource source;
    int which; // the sheet, form or dialog
};
using SS = CSignalSheet;
using SF = CSettingForm;
using SD = CSignalDialog;
constexpr int Of(auto e) { return static_cast<int>(e); }

// clang-format off
constexpr CItemDef kItems[] = {
    // title                   source            which
    {"Memory Channel",         CSource::Memory,  0},
    {"Memory Channel",         CSource::Memory,  1},
    {"2Tone Code CH",          CSource::Sheet,   Of(SS::TwoToneRx)},
    {"5Tone Rx Code CH",       CSource::Sheet,   Of(SS::FiveToneRx)},
    {"5Tone Tx Code CH",       CSource::Sheet,   Of(SS::FiveToneTx)},
    {"5Tone Format",           CSource::Sheet,   Of(SS::FiveToneFormat)},
    {"5Tone User Tone",        CSource::Sheet,   Of(SS::FiveToneUserTone)},
    {"Key & Display Assign",   CSource::Form,    Of(SF::KeyDisplay)},
    {"Common 1",               CSource::Form,    Of(SF::Common1)},
    {"Common 2",               CSource::Form,    Of(SF::Common2)},
    {"Expert",                 CSource::Form,    Of(SF::Expert)},
    {"Maker Reserved",         CSource::Form,    Of(SF::Maker)},
    {"DTMF Autodial",          CSource::Form,    Of(SF::DtmfAutodial)},
    {"Scan Setting",           CSource::Form,    Of(SF::ScanSetting)},
    {"2Tone TX Code",          CSource::Dialog,  Of(SD::TwoToneTxCode)},
    {"2Tone Setting",          CSource::Dialog,  Of(SD::TwoToneSetting)},
    {"5Tone Setting",          CSource::Dialog,  Of(SD::FiveToneSetting)},
};

constexpr I kCommonItems[] = {I::KeyDisplay, I::Common1, I::Common2, I::Expert};
constexpr I kDtmfItems[] = {I::DtmfAutodial};
constexpr I kScanItems[] = {I::ScanSetting};
constexpr I kTwoToneItems[] = {I::TwoToneRx, I::TwoToneTxCode, I::TwoToneSetting};
constexpr I kFiveToneItems[] = {I::FiveToneRx, I::FiveToneTx, I::FiveToneFormat,
                                I::FiveToneUserTone, I::FiveToneSetting};
constexpr I kAllLmr[] = {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::MchLmr,
                         I::DtmfAutodial, I::ScanSetting, I::TwoToneRx, I::TwoToneTxCode,
                         I::TwoToneSetting};
constexpr I kAllPmr[] = {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::MchPmr,
                         I::DtmfAutodial, I::ScanSetting, I::FiveToneRx, I::FiveToneTx,
                         I::FiveToneFormat, I::FiveToneUserTone, I::FiveToneSetting};
// clang-format on

// The boxes in the settings, section "Print"; only "All" is checked at first.
constexpr const char* kSection = "Print";
struct CBoxKey {
    const char* key; // null: "5Tone" on a PMR radio, "2Tone" on an LMR one
    bool CPrintSelection::*box;
};
constexpr CBoxKey kBoxKeys[] = {
    {"All", &CPrintSelection::all},     {"CommSet", &CPrintSelection::common},
    {"Mch", &CPrintSelection::memory},  {"Dtmf", &CPrintSelection::dtmf},
    {"Scn", &CPrintSelection::scan},    {nullptr, &CPrintSelection::signalling},
    {"Maker", &CPrintSelection::maker}, {"Landscape", &CPrintSelection::landscape},
};
const char* BoxKey(const CBoxKey& b, bool pmr) { return b.key ? b.key : pmr ? "5Tone" : "2Tone"; }

// The form cells "Common 2" prints, in widths of "W"; the other forms take what their texts need.
constexpr int kCommon2Cells = 18;

// Lines of a form: a heading where a group or a subgroup begins, the fields inside indented.
std::vector<CPrintLine> FormLines(const std::vector<CFormCell>& cells) {
    std::vector<CPrintLine> lines;
    const CFormCell* last = nullptr;
    for (const CFormCell& f : cells) {
        const bool newGroup = !last || last->group != f.group;
        if (newGroup && !f.group.empty()) lines.push_back({f.group, {}, true, 0});
        if ((newGroup || last->subgroup != f.subgroup) && !f.subgroup.empty())
            lines.push_back({f.subgroup, {}, true, f.group.empty() ? 0 : 1});
        lines.push_back(
            {f.label, f.value, false, (f.group.empty() ? 0 : 1) + (f.subgroup.empty() ? 0 : 1)});
        last = &f;
    }
    return lines;
}

// A settings form or a signalling dialog.
const CFormDesc& FormOf(const CItemDef& def) {
    return def.source == CSource::Form ? FormDescOf(static_cast<CSettingForm>(def.which))
                                       : SignalDialogForm(static_cast<CSignalDialog>(def.which));
}

std::vector<CPrintColumn> Columns(const CSheetDesc& desc) {
    std::vector<CPrintColumn> columns;
    for (const CColumnDesc& c : desc.columnTable)
        columns.push_back({c.header, c.printWidth});
    return columns;
}

const CItemDef* DefOf(CPrintItem item) {
    const int code = static_cast<int>(item);
    return code >= 1 && code <= static_cast<int>(std::size(kItems)) ? &kItems[code - 1] : nullptr;
}

} // namespace

const char* PrintTitle(CPrintItem item) {
    const CItemDef* def = DefOf(item);
    return def ? def->title : "";
}

CPrintSelection LoadPrintSelection(ISettingsStore& settings, bool pmr) {
    CPrintSelection s;
    for (const CBoxKey& b : kBoxKeys)
        s.*b.box = settings.GetInt(kSection, BoxKey(b, pmr), b.box == &CPrintSelection::all) != 0;
    return s;
}

void StorePrintSelection(ISettingsStore& settings, const CPrintSelection& s, bool pmr) {
    for (const CBoxKey& b : kBoxKeys)
        settings.SetInt(kSection, BoxKey(b, pmr), s.*b.box ? 1 : 0);
}

bool CPrintJob::Append(std::span<const CPrintItem> items) {
    if (m_items.size() + items.size() >= kMaxItems) return false;
    m_items.insert(m_items.end(), items.begin(), items.end());
    return true;
}

bool CPrintJob::Add(CPrintItem item) { return Append(std::span(&item, 1)); }

bool CPrintJob::Add(CPrintGroup group, bool pmr) {
    switch (group) {
    case CPrintGroup::Common:
        return Append(kCommonItems);
    case CPrintGroup::Dtmf:
        return Append(kDtmfItems);
    case CPrintGroup::Scan:
        return Append(kScanItems);
    case CPrintGroup::TwoTone:
        return Append(kTwoToneItems);
    case CPrintGroup::FiveTone:
        return Append(kFiveToneItems);
    case CPrintGroup::All:
        return pmr ? Append(kAllPmr) : Append(kAllLmr);
    }
    return false;
}

std::vector<CPrintItem> BuildPrintJob(const CPrintSelection& s, bool pmr, bool makerReserve) {
    CPrintJob job;
    if (s.all) {
        job.Add(CPrintGroup::All, pmr);
        return job.Items();
    }
    if (s.common) job.Add(CPrintGroup::Common, pmr);
    if (s.memory) job.Add(pmr ? I::MchPmr : I::MchLmr);
    if (s.dtmf) job.Add(CPrintGroup::Dtmf, pmr);
    if (s.scan) job.Add(CPrintGroup::Scan, pmr);
    if (s.signalling) job.Add(pmr ? CPrintGroup::FiveTone : CPrintGroup::TwoTone, pmr);
    if (makerReserve && s.maker) job.Add(I::Maker);
    return job.Items();
}

CPrintSection PrintSection(const CPrintSource& s, CPrintItem item) {
    CPrintSection section;
    const CItemDef* def = DefOf(item);
    if (!def) return section;
    section.title = def->title;
    switch (def->source) {
    case CSource::Memory: {
        const bool pmr = def->which == 1;
        section.columns = Columns(pmr ? kMchPmrSheet : kMchLmrSheet);
        for (int row = 0; row < s.memoryRows; ++row)
            section.rows.push_back(MchRowTexts(s.root, pmr, s.variant, row));
        break;
    }
    case CSource::Sheet: {
        const auto sheet = static_cast<CSignalSheet>(def->which);
        const CSheetDesc& desc = SignalSheetDef(sheet).desc;
        section.columns = Columns(desc);
        for (int row = 0; row < desc.rows; ++row)
            section.rows.push_back(SignalRowTexts(s.root, sheet, row));
        break;
    }
    case CSource::Form:
    case CSource::Dialog:
        section.lines = FormLines(FormCells(s.root, BindForm(FormOf(*def), s.variant)));
        if (item == I::Common2) section.labelWidth = section.valueWidth = kCommon2Cells;
        break;
    }
    return section;
}

std::vector<CPrintSection> PrintSections(const CPrintSource& source,
                                         const std::vector<CPrintItem>& items) {
    std::vector<CPrintSection> sections;
    for (CPrintItem item : items)
        sections.push_back(PrintSection(source, item));
    return sections;
}

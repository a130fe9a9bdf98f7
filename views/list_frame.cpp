#include "views/list_frame.h"

#include "views/command_target.h"
#include "views/mch_sheet.h"
#include "views/sheet_view.h"
#include "views/signal_sheets.h"

#include <QStackedLayout>

namespace {
constexpr const char* kTitles[kSheetCount] = {
    "      ",        "Memory",        "Memory",       "2Tone:RX Code",
    "5Tone:RX Code", "5Tone:TX Code", "5Tone:Format", "5Tone:User Tone",
};
} // namespace

QString CZ30ListFrame::TitleOf(int index) {
    return (index >= 0 && index < kSheetCount) ? QString::fromLatin1(kTitles[index]) : QString();
}

CSheetView* CreateSheet(int index, CCloneSupportDoc* doc, QWidget* parent) {
    if (index == 0) return new CNullView(parent);
    if (doc && index == 1) return new CZ30MchLMRSheet(doc, parent);
    if (doc && index == 2) return new CZ30MchPMRSheet(doc, parent);
    if (CSheetView* sheet = doc ? CreateSignalSheet(index, doc, parent) : nullptr) return sheet;
    return new CPendingSheet(index, CZ30ListFrame::TitleOf(index), parent);
}

CZ30ListFrame::CZ30ListFrame(ICommandTarget* document, CCloneSupportDoc* doc, QWidget* parent)
    : QWidget(parent), m_stack(new QStackedLayout(this)) {
    m_stack->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kSheetCount; ++i) {
        m_sheets[i] = CreateSheet(i, doc, this);
        m_sheets[i]->SetDocumentTarget(document);
        m_stack->addWidget(m_sheets[i]);
    }
    m_stack->setCurrentIndex(1);
}

void CZ30ListFrame::ShowSheet(int index) {
    if (index < 0 || index >= kSheetCount) return;
    CSheetView* sheet = m_sheets[index];
    sheet->ReloadColumnWidths();
    const bool hadFocus = CurrentSheet() && CurrentSheet()->hasFocus();
    m_stack->setCurrentWidget(sheet);
    if (hadFocus) sheet->setFocus();
    sheet->RefreshRows();
    emit sheetShown(index);
}

int CZ30ListFrame::CurrentSheetIndex() const {
    for (int i = 0; i < kSheetCount; ++i)
        if (m_stack->currentWidget() == m_sheets[i]) return i;
    return 0;
}

CSheetView* CZ30ListFrame::Sheet(int index) const {
    return (index >= 0 && index < kSheetCount) ? m_sheets[index] : nullptr;
}

CSheetView* CZ30ListFrame::CurrentSheet() const {
    return static_cast<CSheetView*>(m_stack->currentWidget());
}

// The settings forms on screen: the property sheet "Common Setting" with its four pages and the
// dialogs "Scan Setting", "DTMF Autodial" and "Maker Reserved". Each form reads its nodes when
// it opens; OK is one edit of the document, Cancel changes nothing.
#pragma once

#include "sheets/setting_forms.h"
#include "views/form_page.h"

#include <QDialog>
#include <array>

class CNode;
class QDialogButtonBox;
class QTabWidget;

// A settings form's window: modal, OK and Cancel, in the foreground when it opens.
class CSettingFormDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSettingFormDlg(QWidget* parent);
    QDialogButtonBox* Buttons() const { return m_buttons; }

protected:
    void showEvent(QShowEvent* event) override;
    // The form's content above the buttons.
    void SetContent(QWidget* content);

private:
    QDialogButtonBox* m_buttons;
};

// "Common Setting": the four pages without an Apply button, opened on a given page.
class CCommonSettingSheet : public CSettingFormDlg {
    Q_OBJECT
public:
    CCommonSettingSheet(CNode* root, int variant, int page, QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return m_tabs; }
    CFormPage* Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    // Whether the page was shown during this showing; only those write on OK.
    bool Visited(int index) const { return m_visited.at(static_cast<std::size_t>(index)); }

private:
    QTabWidget* m_tabs;
    std::array<CFormPage*, 4> m_pages{};
    std::array<bool, 4> m_visited{};
};

// "Scan Setting", "DTMF Autodial" or "Maker Reserved".
class CSettingDlg : public CSettingFormDlg {
    Q_OBJECT
public:
    CSettingDlg(CNode* root, CSettingForm form, int variant, QWidget* parent = nullptr);

    CFormPage* Page() const { return m_page; }

private:
    CFormPage* m_page;
};

// Registers the openers of the four forms with the editor registry.
void RegisterSettingForms();

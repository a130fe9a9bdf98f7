// The File menu's exchange with the rest of a radio shop: channel lists in and out as
// comma-separated text, and new documents from the stock configurations.
#pragma once

#include "app/templates.h"
#include "views/command_target.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class CZ30Doc;
class QWidget;
struct CCsvImport;
struct CCsvImportOptions;

class CExchangeCommands final : public ICommandTarget {
public:
    CExchangeCommands(CZ30Doc& doc, QWidget* window);

    // The templates found when the program started, in menu order, and their menu texts
    // ("PMR446 analogue channels (PMR 16CH)").
    const std::vector<CTemplate>& Templates() const { return m_templates; }
    QStringList TemplateMenuTexts() const;

    // "Import Channels (CSV)...": one edit (one undo step), then the report. "Export Channels
    // (CSV)...": the channels in use to a file. The new document of a template.
    void ImportChannels(const QString& path);
    void ExportChannels(const QString& path);
    void NewFromTemplate(int index);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

    // Where the file dialogs, the report and the status text go; tests replace them.
    std::function<QString()> askImportPath;
    // Which rows to take (CCsvImportDlg); none: the user cancelled.
    std::function<std::optional<CCsvImportOptions>(const QString& file)> askImportOptions;
    std::function<QString()> askExportPath;
    std::function<void(const CCsvImport&, const QString& file)> showReport;
    std::function<void(const QString&)> statusText;

private:
    CZ30Doc& m_doc;
    QWidget* m_window;
    std::vector<CTemplate> m_templates;
};

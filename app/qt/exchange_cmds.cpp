#include "app/qt/exchange_cmds.h"

#include "app/clone_support_doc.h"
#include "app/qt/csv_import_dlg.h"
#include "app/qt/csv_report_dlg.h"
#include "clone/model_info.h"
#include "core/files.h"
#include "core/platform.h"
#include "sheets/channel_csv.h"
#include "views/command_ids.h"
#include "views/doc_edit.h"
#include "views/save_name.h"

#include <QFileDialog>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kCaption = "KT-Z30";
const QString kCsvFilter = QStringLiteral("Channel Lists (*.csv *.CSV);;All Files (*)");

void Warn(const std::string& text) {
    Platform().prompts->MessageBox(text, kCaption, KtButtons::Ok, KtIcon::Exclamation);
}

} // namespace

CExchangeCommands::CExchangeCommands(CZ30Doc& doc, QWidget* window)
    : m_doc(doc), m_window(window), m_templates(FindTemplates()) {
    askImportPath = [this] {
        return QFileDialog::getOpenFileName(m_window, QStringLiteral("Import Channels"), QString(),
                                            kCsvFilter);
    };
    askExportPath = [this] {
        const QString name = QString::fromStdString(m_doc.GetTitle()).section('.', 0, 0);
        return SaveNameWithSuffix(
            QFileDialog::getSaveFileName(m_window, QStringLiteral("Export Channels"),
                                         name + QStringLiteral(".csv"), kCsvFilter),
            QStringLiteral(".csv"));
    };
    askImportOptions = [this](const QString& file) -> std::optional<CCsvImportOptions> {
        CCsvImportDlg dialog(file, m_window);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Options();
    };
    showReport = [this](const CCsvImport& import, const QString& file) {
        CCsvReportDlg dialog(import, file, m_window);
        dialog.exec();
    };
    statusText = [](const QString& text) { Platform().prompts->SetStatusText(text.toStdString()); };
}

QStringList CExchangeCommands::TemplateMenuTexts() const {
    QStringList texts;
    for (const CTemplate& t : m_templates)
        texts << QStringLiteral("%1 (%2)").arg(QString::fromStdString(t.title),
                                               QLatin1String(kVariantNames[static_cast<std::size_t>(
                                                   std::clamp(t.variant, 0, kVariantCount - 1))]));
    return texts;
}

void CExchangeCommands::ImportChannels(const QString& path) {
    if (path.isEmpty()) return;
    std::string text;
    errno = 0;
    switch (ReadFileBounded(path.toStdString(), &text)) {
    case KtRead::Ok:
        break;
    case KtRead::TooLarge:
        return Warn("The file is larger than any channel list:\n" + path.toStdString());
    case KtRead::CannotOpen:
        return Warn("The file could not be opened:\n" + path.toStdString() + "\n" +
                    (errno ? std::strerror(errno) : "unreadable"));
    }
    const QString file = QFileInfo(path).fileName();
    const std::optional<CCsvImportOptions> options = askImportOptions(file);
    if (!options) return;
    CCsvImport import;
    const int variant = m_doc.GetVariant();
    RunEdit(m_doc, QStringLiteral("Import Channels"), [&](CNode& root, CEditReport&) {
        import = ImportChannelCsv(&root, variant, text, *options);
    });
    if (!import.error.empty())
        return Warn("Nothing was imported from " + file.toStdString() + ":\n" + import.error + ".");
    statusText(
        QStringLiteral(" %1 from %2.").arg(QString::fromStdString(CsvImportSummary(import)), file));
    showReport(import, file);
}

void CExchangeCommands::ExportChannels(const QString& path) {
    if (path.isEmpty()) return;
    int count = 0;
    const std::string text = ExportChannelCsv(m_doc.GetRoot(), m_doc.GetVariant(), &count);
    std::string error;
    if (!ReplaceFile(path.toStdString(), text, &error))
        return Warn("The file could not be saved:\n" + path.toStdString() + "\n" + error);
    statusText(QStringLiteral(" %1 channel%2 exported to %3.")
                   .arg(count)
                   .arg(count == 1 ? "" : "s")
                   .arg(QFileInfo(path).fileName()));
}

void CExchangeCommands::NewFromTemplate(int index) {
    if (index < 0 || index >= static_cast<int>(m_templates.size())) return;
    const CTemplate& t = m_templates[static_cast<std::size_t>(index)];
    if (::NewFromTemplate(m_doc, t.path))
        statusText(QStringLiteral(" New document from the template %1.")
                       .arg(QString::fromStdString(t.title)));
}

bool CExchangeCommands::OnCmdMsg(int id) {
    if (id >= cmd::kTemplateFirst && id <= cmd::kTemplateLast) {
        CModalScope guard;
        if (guard.Entered()) NewFromTemplate(id - cmd::kTemplateFirst);
        return true;
    }
    if (id != cmd::kImportChannels && id != cmd::kExportChannels) return false;
    CModalScope guard;
    if (!guard.Entered()) return true;
    if (id == cmd::kImportChannels)
        ImportChannels(askImportPath());
    else
        ExportChannels(askExportPath());
    return true;
}

bool CExchangeCommands::OnUpdateCmdUI(int id, CCmdUI&) {
    return id == cmd::kImportChannels || id == cmd::kExportChannels ||
           (id >= cmd::kTemplateFirst &&
            id < cmd::kTemplateFirst + static_cast<int>(m_templates.size()));
}

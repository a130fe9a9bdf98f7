#include "app/qt/help_window.h"

#include "core/files.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

QString CHelpWindow::ContentsPath() {
    const QString beside =
        QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html");
    if (QFileInfo::exists(beside)) return beside;
    // An installed copy: share/ktz30/help beside the program's folder.
    const QString installed =
        QString::fromStdString(InstalledDataFolder("ktz30")) + QStringLiteral("/help/index.html");
    if (QFileInfo::exists(installed)) return installed;
#ifdef KT_HELP_DIR
    const QString source = QStringLiteral(KT_HELP_DIR "/index.html");
    if (QFileInfo::exists(source)) return source;
#endif
    return beside;
}

CHelpWindow::CHelpWindow(QWidget* parent)
    : QDialog(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("KT-Z30 Help"));
    m_browser->setOpenExternalLinks(true);
    const QString path = ContentsPath();
    if (QFileInfo::exists(path))
        m_browser->setSource(QUrl::fromLocalFile(path));
    else
        m_browser->setHtml(
            QStringLiteral("<p>The help file %1 was not found.</p>").arg(path.toHtmlEscaped()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(640, 520);
}

#include "print/pdf_output.h"

#include "core/files.h"
#include "print/page_renderer.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

namespace {
constexpr double kMarginMm = 10.0;
constexpr const char* kDocumentName = CPageRenderer::kDocumentName;
} // namespace

QPageSize LocalePageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

bool HaveFonts() { return !QFontDatabase::families().isEmpty(); }

QByteArray PdfOf(const std::vector<CPrintSection>& sections, const QPageSize& pageSize,
                 QPageLayout::Orientation orientation) {
    QByteArray bytes;
    if (sections.empty()) return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromLatin1(kDocumentName));
        writer.setCreator(QString::fromLatin1(kDocumentName));
        writer.setPageLayout(QPageLayout(pageSize, orientation,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        CPageRenderer(painter, writer).Render(sections);
    }
    return bytes;
}

bool WritePdf(const std::string& path, const std::vector<CPrintSection>& sections,
              const QPageSize& pageSize, std::string* error, QPageLayout::Orientation orientation) {
    if (sections.empty()) {
        *error = "nothing to print";
        return false;
    }
    const QByteArray pdf = PdfOf(sections, pageSize, orientation);
    return ReplaceFile(path, pdf.toStdString(), error);
}

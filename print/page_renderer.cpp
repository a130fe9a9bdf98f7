#include "print/page_renderer.h"

#include "sheets/print_layout.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kRuleWidth = 5;   // the frame's rules, in units
constexpr int kRuleGap = 10;    // between a rule and its text line
constexpr int kBorderWidth = 2; // the cells' borders
const QColor kBorderColor(96, 96, 96);
const QColor kHeaderFill(228, 228, 228);
constexpr int kMinValueCell = 6; // in "W": an empty or short value still gets a cell to write in

QString Text(const std::string& text) { return QString::fromStdString(text); }

int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : a; }

} // namespace

QFont PrintFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString FitCellText(const QString& text, int width, int margin, const QFontMetrics& fm) {
    if (fm.horizontalAdvance(text) + margin <= width) return text;
    const QString dots = QStringLiteral("...");
    QString rest = text;
    while (!rest.isEmpty() && fm.horizontalAdvance(rest + dots) + margin > width)
        rest.chop(1);
    return rest + dots;
}

CPageRenderer::CPageRenderer(QPainter& painter, QPagedPaintDevice& device)
    : m_painter(painter), m_device(device) {
    m_painter.setFont(PrintFont(kFramePoints));
    const int frameLine = m_painter.fontMetrics().height() + Units(kRuleWidth);
    m_body = QRect(0, 2 * frameLine, m_device.width(), m_device.height() - 4 * frameLine);
}

int CPageRenderer::Units(int n) const {
    return std::max(1, qRound(n * m_device.logicalDpiY() / double(kUnitsPerInch)));
}

bool CPageRenderer::StartPage(const std::string& title) {
    if (m_pages > 0 && !m_device.newPage()) return false;
    ++m_pages;
    m_painter.save();
    m_painter.setFont(PrintFont(kFramePoints));
    m_painter.setPen(Qt::black);
    const int width = m_device.width();
    const int height = m_device.height();
    const int line = m_painter.fontMetrics().height();
    const QRect top(0, 0, width, line);
    const QRect bottom(0, height - line, width, line);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    m_painter.drawText(top, Qt::AlignLeft | flags, QString::fromLatin1(kCompany));
    m_painter.drawText(bottom, Qt::AlignLeft | flags, QString::fromLatin1(kRevision));
    m_painter.drawText(bottom, Qt::AlignRight | flags, Text(title));
    const int rule = Units(kRuleWidth);
    m_painter.fillRect(QRect(0, line + Units(kRuleGap), width, rule), Qt::black);
    m_painter.fillRect(QRect(0, height - line - Units(kRuleGap) - rule, width, rule), Qt::black);
    m_painter.restore();
    return true;
}

void CPageRenderer::DrawCell(const QRect& cell, const QString& text, int indent) {
    const QFontMetrics fm = m_painter.fontMetrics();
    const int inset = std::max(1, fm.horizontalAdvance(QLatin1Char('W')) / 4);
    m_painter.setPen(QPen(kBorderColor, Units(kBorderWidth)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(cell);
    m_painter.setPen(Qt::black);
    const QString shown = FitCellText(text, cell.width() - indent, 2 * inset, fm);
    m_painter.drawText(cell.adjusted(inset + indent, 0, -inset, 0),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

CPrintOutcome CPageRenderer::Render(const std::vector<CPrintSection>& sections,
                                    const std::function<bool()>& cancelled) {
    for (const CPrintSection& section : sections) {
        const CPrintOutcome outcome =
            section.IsSheet() ? DrawSheet(section, cancelled) : DrawForm(section, cancelled);
        if (outcome != CPrintOutcome::Done) return outcome;
    }
    return CPrintOutcome::Done;
}

CPrintOutcome CPageRenderer::DrawSheet(const CPrintSection& section,
                                       const std::function<bool()>& cancelled) {
    m_painter.setFont(PrintFont(kTextPoints));
    const QFontMetrics fm = m_painter.fontMetrics();
    const int line = fm.lineSpacing();
    const int w = fm.horizontalAdvance(QLatin1Char('W'));
    const int inset = std::max(1, w / 4);
    // Every column as wide as its longest text, header or cell, its print width the least.
    const auto need = [&](const std::string& text) {
        return fm.horizontalAdvance(Text(text)) + 2 * inset;
    };
    std::vector<int> widths;
    for (const CPrintColumn& column : section.columns)
        widths.push_back(std::max(column.width * w, need(column.header)));
    for (const std::vector<std::string>& row : section.rows)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], need(row[c]));
    const int headerHeight = line;
    const int rows = static_cast<int>(section.rows.size());
    const int perPage = RowsPerPage(m_body.height(), headerHeight, line);
    for (const CPageSlice& page : PlanPages(rows, perPage, ColumnChunks(widths, m_body.width()))) {
        if (!StartPage(section.title)) return CPrintOutcome::PageFailed;
        std::vector<int> columns{0};
        for (int c = page.columns.first; c <= page.columns.last; ++c)
            columns.push_back(c);
        int x = m_body.left();
        for (int c : columns) {
            const QRect header(x, m_body.top(), widths[c], headerHeight);
            m_painter.fillRect(header, kHeaderFill);
            DrawCell(header, {});
            m_painter.save();
            m_painter.setClipRect(header);
            m_painter.drawText(header.adjusted(inset, 0, -inset, 0),
                               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                               Text(section.columns[c].header));
            m_painter.restore();
            for (int i = 0; i < page.rowCount; ++i) {
                const std::vector<std::string>& row = section.rows[page.firstRow + i];
                const QRect cell(x, m_body.top() + headerHeight + i * line, widths[c], line);
                DrawCell(cell, c < static_cast<int>(row.size()) ? Text(row[c]) : QString());
            }
            x += widths[c];
        }
        if (cancelled && cancelled()) return CPrintOutcome::Cancelled;
    }
    return CPrintOutcome::Done;
}

CPrintOutcome CPageRenderer::DrawForm(const CPrintSection& section,
                                      const std::function<bool()>& cancelled) {
    const QFont text = PrintFont(kTextPoints);
    const QFont heading = PrintFont(kTextPoints, true);
    m_painter.setFont(text);
    const QFontMetrics fm = m_painter.fontMetrics();
    const int line = fm.lineSpacing();
    const int w = std::max(1, fm.horizontalAdvance(QLatin1Char('W')));
    const int inset = std::max(1, w / 4);
    // The cells as wide as the texts need, unless the form says how wide.
    int labelNeed = 0, valueNeed = 0;
    for (const CPrintLine& l : section.lines) {
        if (l.heading) continue;
        labelNeed = std::max(labelNeed, fm.horizontalAdvance(Text(l.label)) + l.indent * w);
        valueNeed = std::max(valueNeed, fm.horizontalAdvance(Text(l.value)));
    }
    const int labelFit = CeilDiv(labelNeed + 2 * inset, w);
    const int valueFit = std::max(kMinValueCell, CeilDiv(valueNeed + 2 * inset, w));
    // Cells the form states keep their widths where they fit across the page; else they are
    // narrowed, never below what their texts need.
    const auto [labelW, valueW] =
        FitFormCells(section.labelWidth > 0 ? section.labelWidth : labelFit,
                     section.valueWidth > 0 ? section.valueWidth : valueFit, m_body.width() / w,
                     labelFit, CeilDiv(valueNeed + 2 * inset, w));
    const int labelWidth = labelW * w;
    const int valueWidth = valueW * w;
    std::vector<bool> headings;
    for (const CPrintLine& l : section.lines)
        headings.push_back(l.heading);
    for (const CPageSlice& page : PlanFormPages(headings, RowsPerPage(m_body.height(), 0, line))) {
        if (!StartPage(section.title)) return CPrintOutcome::PageFailed;
        for (int i = 0; i < page.rowCount; ++i) {
            const CPrintLine& l = section.lines[page.firstRow + i];
            const int y = m_body.top() + i * line;
            const int x = m_body.left();
            if (l.heading) {
                m_painter.setFont(heading);
                m_painter.setPen(Qt::black);
                const int left = l.indent * w + inset;
                const QRect room(x + left, y, labelWidth + valueWidth - left, line);
                m_painter.drawText(
                    room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    FitCellText(Text(l.label), room.width(), inset, m_painter.fontMetrics()));
                m_painter.setFont(text);
                continue;
            }
            DrawCell(QRect(x, y, labelWidth, line), Text(l.label), l.indent * w);
            DrawCell(QRect(x + labelWidth, y, valueWidth, line), Text(l.value));
        }
        if (cancelled && cancelled()) return CPrintOutcome::Cancelled;
    }
    return CPrintOutcome::Done;
}

// Draws a printout on any paged device (a printer, the print preview, a PDF writer). Every page
// has the frame: "Norq Inc." at the top left, "KT-Z30 Revision.1.2" at the bottom left, the
// section's title at the bottom right, a rule below the top line and one above the bottom line.
// A sheet prints as a table whose rows and column chunks spread over pages, column 0 beside
// every chunk; a form as label and value cells, a heading where a group begins.
#pragma once

#include "sheets/print_job.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QFontMetrics;
class QPagedPaintDevice;
class QPainter;

enum class CPrintOutcome { Done, Cancelled, PageFailed };

class CPageRenderer {
public:
    static constexpr double kTextPoints = 20.0;  // the sections' text
    static constexpr double kFramePoints = 10.0; // the page frame's
    static constexpr int kUnitsPerInch = 300;    // the rules, borders and gaps are in these units
    static constexpr const char* kCompany = "Norq Inc.";
    static constexpr const char* kRevision = "KT-Z30 Revision.1.2";
    static constexpr const char* kDocumentName = "KT-Z30"; // the print job's, the PDF's title

    // painter is active on device, which stands on its first page.
    CPageRenderer(QPainter& painter, QPagedPaintDevice& device);

    // Draws the sections one after the other, each from a new page. cancelled is asked after
    // every page; true stops the run.
    CPrintOutcome Render(const std::vector<CPrintSection>& sections,
                         const std::function<bool()>& cancelled = {});
    int Pages() const { return m_pages; }

private:
    int Units(int n) const;
    // A new page (the device's first one needs none) with its frame; false when the device
    // refuses the page.
    bool StartPage(const std::string& title);
    CPrintOutcome DrawSheet(const CPrintSection& section, const std::function<bool()>& cancelled);
    CPrintOutcome DrawForm(const CPrintSection& section, const std::function<bool()>& cancelled);
    // One cell: a thin border, the text cut to fit, inset from the left.
    void DrawCell(const QRect& cell, const QString& text, int indent = 0);

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QRect m_body; // the room for the section on every page
    int m_pages = 0;
};

// The font of the printouts: "Arial" at the given size, or the system's substitute for it.
QFont PrintFont(double points, bool bold = false);
// The text cut from its end, with "..." appended, so that it and margin fit into width.
QString FitCellText(const QString& text, int width, int margin, const QFontMetrics& fm);

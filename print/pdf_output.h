// Printouts as PDF documents: for Export PDF and the command line. Works without a printer and,
// on the offscreen platform, without a display.
#pragma once

#include "sheets/print_job.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <string>
#include <vector>

// The paper of the user's locale: Letter where it measures in inches, else A4.
QPageSize LocalePageSize();
// Whether the system has any font to draw the text with.
bool HaveFonts();
// The printout as a PDF document named "KT-Z30"; empty for an empty job.
QByteArray PdfOf(const std::vector<CPrintSection>& sections, const QPageSize& pageSize,
                 QPageLayout::Orientation orientation = QPageLayout::Portrait);
// Writes the printout to path, whole or not at all; only a regular file is replaced. False with
// the reason in error (also for an empty job, which writes nothing).
bool WritePdf(const std::string& path, const std::vector<CPrintSection>& sections,
              const QPageSize& pageSize, std::string* error,
              QPageLayout::Orientation orientation = QPageLayout::Portrait);

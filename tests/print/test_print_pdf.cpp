// Printouts as a reader sees them: a job rendered into a PDF by the page renderer and read back
// with pdftotext, page by page; and the same through ktz30cli print.
#include "print/page_renderer.h"
#include "print/pdf_output.h"
#include "sheets/mch_rows.h"
#include "sheets/print_job.h"
#include "tests/radiomap/hub_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace testhub;

namespace {

using I = CPrintItem;
constexpr int kLmr16 = 4, kPmr16 = 5;

// The text of every page of a PDF file.
std::vector<std::string> PdfFilePages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) did not read " << path.toStdString();
        return {};
    }
    std::vector<std::string> pages;
    std::stringstream text(p.readAllStandardOutput().toStdString());
    for (std::string page; std::getline(text, page, '\f');)
        pages.push_back(page);
    if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
        pages.pop_back();
    return pages;
}

std::vector<std::string> PdfPages(const QByteArray& pdf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    return PdfFilePages(path);
}

std::string Trim(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    const auto b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> Lines(const std::string& page) {
    std::vector<std::string> lines;
    std::stringstream in(page);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The title at a page's foot, beside "KT-Z30 Revision.1.2".
std::string PageTitle(const std::string& page) {
    const std::string foot = "KT-Z30 Revision.1.2";
    for (const std::string& line : Lines(page))
        if (const auto at = line.find(foot); at != std::string::npos)
            return Trim(line.substr(at + foot.size()));
    return {};
}

// The sections' titles in page order, one for each run of pages.
std::vector<std::string> SectionTitles(const std::vector<std::string>& pages) {
    std::vector<std::string> titles;
    for (const std::string& page : pages)
        if (titles.empty() || titles.back() != PageTitle(page)) titles.push_back(PageTitle(page));
    return titles;
}

// A PMR 16CH document with channels and settings a dealer would set.
std::unique_ptr<CZ30CloneManager> Radio(int variant) {
    auto hub = MakeHub(variant);
    for (int ch : {1, 2, 16}) {
        SetValue(*hub, "Mch.CH" + std::to_string(ch) + ".ChOn", 1);
        SetValue(*hub, "Mch.CH" + std::to_string(ch) + ".FreqRx", 446006250 + ch * 12500);
    }
    SetValue(*hub, "Mch.PrioA", 2);
    SetStringByName(Node(*hub, "CommonSet.Common1"), "Comment1", "NORQ DEPOT 7");
    return hub;
}

QByteArray Pdf(const CZ30CloneManager& hub, int variant, const std::vector<I>& items,
               int memoryRows = -1) {
    const CPrintSource source{hub.GetRoot(), variant,
                              memoryRows < 0 ? MchSheetRows(variant, false) : memoryRows};
    return PdfOf(PrintSections(source, items), QPageSize(QPageSize::A4));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(PrintPdf, AllOnAPmrRadioPrintsTwelveSectionsInOrderWithoutMakerReserved) {
    auto hub = Radio(kPmr16);
    CPrintSelection all;
    all.maker = true;
    const std::vector<std::string> pages =
        PdfPages(Pdf(*hub, kPmr16, BuildPrintJob(all, true, true)));
    const std::vector<std::string> twelve = {
        "Key & Display Assign", "Common 1",      "Common 2",        "Expert",
        "Memory Channel",       "DTMF Autodial", "Scan Setting",    "5Tone Rx Code CH",
        "5Tone Tx Code CH",     "5Tone Format",  "5Tone User Tone", "5Tone Setting"};
    EXPECT_EQ(SectionTitles(pages), twelve);
    std::string whole;
    for (const std::string& page : pages) {
        EXPECT_TRUE(Has(page, "Norq Inc.")) << page;
        whole += page;
    }
    EXPECT_FALSE(Has(whole, "Maker Reserved"));
    // What the forms and sheets show.
    EXPECT_TRUE(Has(whole, "NORQ DEPOT 7"));
    EXPECT_TRUE(Has(whole, "Lockout Penalty Timer"));
    EXPECT_TRUE(Has(whole, "446.01875"));
}

TEST(PrintPdf, MemoryAndScanPrintTheMemorySheetFirst) {
    auto hub = Radio(kPmr16);
    const std::vector<I> job =
        BuildPrintJob({false, false, true, false, true, false, false}, true, false);
    const std::vector<std::string> expected = {"Memory Channel", "Scan Setting"};
    EXPECT_EQ(SectionTitles(PdfPages(Pdf(*hub, kPmr16, job))), expected);
}

TEST(PrintPdf, ThirtySixLmrRowsSpreadOverPagesWithColumnZeroOnEach) {
    auto hub = Radio(kLmr16);
    const std::vector<std::string> pages = PdfPages(Pdf(*hub, kLmr16, {I::MchLmr}, 36));
    ASSERT_GT(pages.size(), 2u);
    std::vector<int> seen(37, 0);
    std::string whole;
    for (const std::string& page : pages) {
        EXPECT_EQ(PageTitle(page), "Memory Channel");
        bool header = false;
        for (const std::string& line : Lines(page)) {
            std::istringstream words(line);
            std::string first;
            words >> first;
            header = header || first == "CH";
            if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos &&
                std::stoi(first) <= 36)
                ++seen[std::stoi(first)];
        }
        EXPECT_TRUE(header) << page;
        whole += page;
    }
    // Every row on as many pages as there are column chunks; the last column too.
    for (int row = 1; row <= 36; ++row)
        EXPECT_EQ(seen[row], seen[1]) << row;
    EXPECT_GT(seen[1], 1);
    EXPECT_TRUE(Has(whole, "LOG IN/OFF"));
    EXPECT_TRUE(Has(whole, "446.01875"));
}

TEST(PrintPdf, ATinyPageStillTakesARowAndAColumnAPage) {
    auto hub = Radio(kLmr16);
    const CPrintSource source{hub->GetRoot(), kLmr16, 4};
    const QPageSize tiny(QSizeF(30, 30), QPageSize::Millimeter, QStringLiteral("tiny"));
    // The 2-tone sheet: 4 rows, 8 columns beside column 0, each alone on its pages.
    const std::vector<std::string> pages =
        PdfPages(PdfOf(PrintSections(source, {I::TwoToneRx}), tiny));
    EXPECT_EQ(pages.size(), 4u * 8u);
    // A form on the same page: one line a page.
    EXPECT_EQ(PdfPages(PdfOf(PrintSections(source, {I::ScanSetting}), tiny)).size(),
              PrintSection(source, I::ScanSetting).lines.size());
}

TEST(PrintPdf, CancelStopsTheJobAfterThePageInHand) {
    auto hub = Radio(kPmr16);
    const std::vector<CPrintSection> sections =
        PrintSections({hub->GetRoot(), kPmr16, 16}, BuildPrintJob({}, true, false));
    for (int stopAt : {1, 3, 0}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        CPageRenderer renderer(painter, writer);
        int asked = 0;
        const CPrintOutcome outcome = renderer.Render(sections, [&] { return ++asked == stopAt; });
        EXPECT_EQ(outcome, stopAt ? CPrintOutcome::Cancelled : CPrintOutcome::Done) << stopAt;
        EXPECT_EQ(renderer.Pages(), stopAt ? stopAt : asked) << stopAt;
    }
}

// "Common 2" prints its label and value cells 18 widths of "W" wide each where the two fit
// across the page (landscape); on a portrait A4 page they are narrowed so that the values stay
// on the paper, the value cell still right of the longest label.
TEST(PrintPdf, CommonTwoCellsAreEighteenWidthsOfWWhereTheyFit) {
    for (const auto orientation : {QPageLayout::Landscape, QPageLayout::Portrait}) {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("common2.pdf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const auto hub = Radio(kPmr16);
        const CPrintSource source{hub->GetRoot(), kPmr16, 16};
        file.write(
            PdfOf(PrintSections(source, {I::Common2}), QPageSize(QPageSize::A4), orientation));
        file.close();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file.fileName(), "-"});
        ASSERT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0);
        const QString xml = QString::fromUtf8(p.readAllStandardOutput());
        const double pageWidth = QRegularExpression(QStringLiteral("<page width=\"([0-9.]+)\""))
                                     .match(xml)
                                     .captured(1)
                                     .toDouble();
        // The words of the first label's line: "Lockout" first, the value last.
        const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
        double labelX = -1, labelY = -1, valueX = -1, right = 0;
        for (auto it = word.globalMatch(xml); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
            right = std::max(right, m.captured(3).toDouble());
            if (labelX < 0 && m.captured(4) == QStringLiteral("Lockout"))
                std::tie(labelX, labelY) = std::pair(x, y);
            else if (labelX >= 0 && valueX < 0 && std::abs(y - labelY) < 1 &&
                     m.captured(4) != QStringLiteral("Penalty") &&
                     m.captured(4) != QStringLiteral("Timer"))
                valueX = x;
        }
        ASSERT_GE(valueX, 0);
        EXPECT_LT(right, pageWidth) << orientation;
        QBuffer buffer;
        QPdfWriter writer(&buffer);
        const double w = QFontMetricsF(PrintFont(CPageRenderer::kTextPoints), &writer)
                             .horizontalAdvance(QLatin1Char('W')) *
                         72.0 / writer.resolution();
        if (orientation == QPageLayout::Landscape)
            EXPECT_NEAR((valueX - labelX) / w, 18.0, 0.25);
        else
            EXPECT_LT((valueX - labelX) / w, 18.0);
    }
}

TEST(PrintPdf, AnEmptyJobWritesNothing) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("none.pdf")).toStdString();
    std::string error;
    EXPECT_TRUE(PdfOf({}, QPageSize(QPageSize::A4)).isEmpty());
    EXPECT_FALSE(WritePdf(path, {}, QPageSize(QPageSize::A4), &error));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

#ifdef KT_KTZ30CLI
TEST(PrintPdf, TheCommandLinePrintsWithoutADisplay) {
    QTemporaryDir dir;
    auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    auto run = [&env](const QStringList& args, std::string* err = nullptr) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KT_KTZ30CLI), args);
        p.waitForFinished(60000);
        if (err) *err = p.readAllStandardError().toStdString();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString radio = path("radio.hxq");
    ASSERT_EQ(run({"new", "--variant", "5", "-o", radio}), 0);
    ASSERT_EQ(run({"set", radio, "Mch.CH1.ChOn=ON", "Mch.CH1.FreqRx=446.100"}), 0);

    const struct {
        QStringList options;
        std::vector<std::string> titles;
    } printed[] = {
        {{},
         {"Key & Display Assign", "Common 1", "Common 2", "Expert", "Memory Channel",
          "DTMF Autodial", "Scan Setting", "5Tone Rx Code CH", "5Tone Tx Code CH", "5Tone Format",
          "5Tone User Tone", "5Tone Setting"}},
        {{"--scan", "--memory"}, {"Memory Channel", "Scan Setting"}},
        {{"--maker", "--dtmf"}, {"DTMF Autodial", "Maker Reserved"}},
    };
    for (const auto& c : printed) {
        const QString out = path("out.pdf");
        std::string err;
        EXPECT_EQ(run(QStringList{"print", radio, "-o", out} + c.options, &err), 0) << err;
        EXPECT_EQ(SectionTitles(PdfFilePages(out)), c.titles) << c.options.join(' ').toStdString();
    }

    const struct {
        QStringList args;
        int exit;
        const char* err;
    } refused[] = {
        {{"print", radio, "-o", path("a.pdf"), "--all", "--maker"}, 2, "excludes"},
        {{"print", radio}, 2, "-o is required"},
        {{"print", path("missing.hxq"), "-o", path("a.pdf")}, 1, "CANNOT_OPEN_FILE"},
        {{"print", radio, "-o", dir.path()}, 1, "is a folder"},
        // The clone data file itself, however it is named, stays as it is.
        {{"print", radio, "-o", radio}, 1, "the file being printed"},
        {{"print", radio, "-o", path("./radio.hxq")}, 1, "the file being printed"},
    };
    QFile image(radio);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    const QByteArray before = image.readAll();
    image.close();
    for (const auto& c : refused) {
        std::string err;
        EXPECT_EQ(run(c.args, &err), c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(Has(err, c.err)) << err;
    }
    EXPECT_FALSE(QFile::exists(path("a.pdf")));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.readAll(), before);
    EXPECT_EQ(run({"print", "--help"}), 0);
}
#endif

#ifdef KT_KTZ30CLI
// Every section of every variant's factory file and of every stock template, on either side of
// the paper: no value cut short with "...", and the landscape memory table of a 16-channel PMR
// radio on fewer pages than portrait (its 27 columns are some 180 widths of "W" at 20 points:
// five landscape A4 pages against eight portrait ones).
TEST(PrintPdf, NothingIsCutOnEitherSideOfThePaper) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    auto run = [&env](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KT_KTZ30CLI), args);
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << "\n"
                                   << p.readAllStandardError().toStdString();
    };
    QStringList files;
    for (int variant = 0; variant < 6; ++variant) {
        files << dir.filePath(QStringLiteral("factory%1.hxq").arg(variant));
        run({"new", "--variant", QString::number(variant), "-o", files.back()});
    }
    for (const QFileInfo& t : QDir(QStringLiteral(KT_TEMPLATES_DIR))
                                  .entryInfoList({QStringLiteral("*.hxq")}, QDir::Files))
        files << t.absoluteFilePath();
    ASSERT_GE(files.size(), 7);
    const QStringList every = {"--common", "--memory",     "--dtmf",
                               "--scan",   "--signalling", "--maker"};
    const QString out = dir.filePath(QStringLiteral("out.pdf"));
    for (const QString& file : files)
        for (const QStringList& side : {QStringList{}, QStringList{"--landscape"}}) {
            run(QStringList{"print", file, "-o", out} + every + side);
            const std::vector<std::string> pages = PdfFilePages(out);
            EXPECT_GT(pages.size(), 10u);
            for (const std::string& page : pages)
                EXPECT_FALSE(Has(page, "..."))
                    << file.toStdString() << side.join(' ').toStdString() << "\n"
                    << page;
        }
    const QString pmr16 = files[5];
    run({"print", pmr16, "-o", out, "--memory"});
    const std::size_t portrait = PdfFilePages(out).size();
    run({"print", pmr16, "-o", out, "--memory", "--landscape"});
    const std::size_t landscape = PdfFilePages(out).size();
    EXPECT_LE(3 * landscape, 2 * portrait) << landscape << " vs " << portrait;
}
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The clone data file: every result word of the reader, the writer's lines, and that a failed
// load never touches the document's image.
#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct FileHub {
    std::unique_ptr<CZ30CloneManager> hub = std::make_unique<CZ30CloneManager>();
    CZ30CloneFileIoManager* io = new CZ30CloneFileIoManager;
    CZ30EepromDataManager* eeprom = new CZ30EepromDataManager;
    CZ30ModelManager* model = new CZ30ModelManager;
    FileHub() {
        hub->SetManagers(eeprom, nullptr, nullptr, nullptr, model, nullptr, io);
        hub->Init();
        for (std::uint32_t a = 0; a < 2048; ++a)
            eeprom->WriteByte(a, static_cast<std::uint8_t>((a * 7 + 3) & 0xFF));
    }
    std::string Load(const std::string& text) {
        std::istringstream in(text);
        return io->LoadFromStream(in, model);
    }
};

std::string Line(unsigned address, unsigned count, unsigned fill) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X%02X", address, count);
    std::string s = buf;
    for (unsigned i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", (fill + i) & 0xFF);
        s += buf;
    }
    return s;
}

std::filesystem::path TempPath(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string("kt_test_") + std::to_string(::getpid()) + "_" + name);
}

} // namespace

TEST(CloneFile, ReaderResultWords) {
    const std::string good = Line(0x100, 16, 0x20);
    struct Case {
        const char* what;
        std::string text;
        const char* result;
    };
    const Case cases[] = {
        {"revision 1.5 accepted", "58270105\n#\n" + good + "\n", kFileOk},
        {"revision 2.0 refused", "58270200\n#\n", kFileMismatchRevision},
        {"other model", "12340100\n#\n", kFileMismatchModel},
        {"hex letter in header", "5827010A\n#\n", kFileFormatError},
        {"hex letter after accepted revision", "5827011A\n#\n", kFileFormatError},
        {"header of 9 characters", "582701000\n#\n", kFileFormatError},
        {"header of 7 characters", "5827010\n", kFileFormatError},
        {"empty file", "", kFileFormatError},
        {"header only", "58270100\n", kFileOk},
        {"header with CR LF", "58270100\r\n#x\r\n" + good + "\r\n", kFileOk},
        {"empty line in the middle", "58270100\n#\n" + good + "\n\n" + good + "\n",
         kFileFormatError},
        {"line overflows the image", "58270100\n#\n" + Line(0x7F8, 16, 0) + "\n",
         kFileDataOverflow},
        {"line ends at the last byte", "58270100\n#\n" + Line(0x7F8, 8, 0) + "\n", kFileOk},
        {"count disagrees with length", "58270100\n#\n" + good.substr(0, good.size() - 2) + "\n",
         kFileFormatError},
        {"too short", "58270100\n#\n0100\n", kFileFormatError},
        {"non-hex character", "58270100\n#\n" + good.substr(0, 10) + "G" + good.substr(11) + "\n",
         kFileFormatError},
        {"later comment lines skipped", "58270100\n#\n#more\n" + good + "\n", kFileOk},
        {"line over 516 characters", "58270100\n#\n" + std::string(518, '0') + "\n",
         kFileFormatError},
        {"count 0 line", "58270100\n#\n010000\n", kFileFormatError},
        {"count 0 with 8 characters", "58270100\n#\n01000000\n", kFileFormatError},
    };
    for (const Case& c : cases) {
        FileHub h;
        const CByteImage before = *h.eeprom;
        const std::string r = h.Load(c.text);
        EXPECT_EQ(r, c.result) << c.what;
        if (r != kFileOk) {
            EXPECT_EQ(static_cast<CByteImage&>(*h.eeprom), before) << c.what;
        }
    }
}

TEST(CloneFile, LowerCaseDataAndPartialFilesKeepOtherBytes) {
    FileHub h;
    const std::uint8_t untouched = h.eeprom->ReadByte(0x200);
    ASSERT_EQ(h.Load("58270100\n#\n01100410ab0cFf\n"), kFileOk);
    EXPECT_EQ(h.eeprom->ReadByte(0x110), 0x10);
    EXPECT_EQ(h.eeprom->ReadByte(0x111), 0xAB);
    EXPECT_EQ(h.eeprom->ReadByte(0x112), 0x0C);
    EXPECT_EQ(h.eeprom->ReadByte(0x113), 0xFF);
    EXPECT_EQ(h.eeprom->ReadByte(0x200), untouched);
}

TEST(CloneFile, LaterLineForTheSameAddressWins) {
    FileHub h;
    ASSERT_EQ(h.Load("58270100\n#\n0010011100\n0010012200\n"), kFileFormatError);
    ASSERT_EQ(h.Load("58270100\n#\n00100111\n00100122\n"), kFileOk);
    EXPECT_EQ(h.eeprom->ReadByte(0x10), 0x22);
}

TEST(CloneFile, SaveWritesHeaderCommentAndWholeLines) {
    FileHub h;
    const auto path = TempPath("save.hxq");
    ASSERT_EQ(h.io->SaveToFile(path.string(), kCloneWriteRanges, h.model), kFileOk);
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "58270100");
    std::getline(in, line);
    EXPECT_EQ(line, "#" + MakeCommentLine("", ""));
    int lines = 0;
    std::string first;
    while (std::getline(in, line)) {
        if (lines == 0) first = line;
        EXPECT_EQ(line.size(), 38u);
        ++lines;
    }
    EXPECT_EQ(lines, 121); // 0x0070-0x07FF
    EXPECT_EQ(first.substr(0, 6), "007010");
    std::filesystem::remove(path);
}

TEST(CloneFile, WholeImageRoundTripsByteForByteThroughCrLfFile) {
    FileHub h;
    const CByteImage original = *h.eeprom;
    const auto plain = TempPath("plain.hxq");
    const auto crlf = TempPath("crlf.hxq");
    ASSERT_EQ(h.io->SaveToFile(plain.string(), kDocumentRanges, h.model), kFileOk);
    {
        std::ifstream in(plain);
        std::ofstream out(crlf, std::ios::binary);
        std::string line;
        while (std::getline(in, line))
            out << line << "\r\n";
    }
    FileHub other;
    ASSERT_NE(static_cast<CByteImage&>(*other.eeprom), CByteImage());
    for (std::uint32_t a = 0; a < 2048; ++a)
        other.eeprom->WriteByte(a, 0);
    ASSERT_EQ(other.io->LoadFromFile(crlf.string(), other.model), kFileOk);
    EXPECT_EQ(static_cast<CByteImage&>(*other.eeprom), original);
    std::filesystem::remove(plain);
    std::filesystem::remove(crlf);
}

TEST(CloneFile, MissingFileCannotBeOpened) {
    FileHub h;
    EXPECT_EQ(h.io->LoadFromFile("/nonexistent/dir/x.hxq", h.model), kFileCannotOpen);
    EXPECT_EQ(h.io->SaveToFile("/nonexistent/dir/x.hxq", kDocumentRanges, h.model),
              kFileCannotOpen);
}

TEST(CloneFile, CommentLineCannotBreakTheGrammar) {
    EXPECT_EQ(MakeCommentLine("Hello", "World"), "HelloWorld");
    EXPECT_EQ(MakeCommentLine("ABCDEFGHIJKLMNOPQRS", "x"), "ABCDEFGHIJKLMNOPx");
    EXPECT_EQ(MakeCommentLine("a\nb\r", "\x7F\xC3"), "a b   ");
}

TEST(CloneFile, CoverageTellsTheLinesAFileHeld) {
    // A whole document file, cut where the cases say.
    std::vector<std::string> lines;
    for (unsigned a = 0; a < 0x800; a += 16)
        lines.push_back(Line(a, 16, a & 0xFF));
    auto text = [&](std::size_t from, std::size_t to, const std::string& extra = {}) {
        std::string t = "58270100\r\n#\r\n";
        for (std::size_t i = from; i < to; ++i)
            t += lines[i] + "\r\n";
        return t + extra;
    };
    struct Case {
        const char* what;
        std::string text;
        unsigned held;
        bool whole;
        std::vector<CAddressRange> given;
    };
    const Case cases[] = {
        {"whole image", text(0, 128), 128, true, {{0x0000, 0x07FF}}},
        {"what a clone write sends", text(7, 128), 121, true, {{0x0070, 0x07FF}}},
        {"cut after 34 lines", text(0, 34), 34, false, {{0x0000, 0x021F}}},
        {"header only", "58270100\r\n", 0, false, {}},
        {"one line missing",
         text(0, 60) + text(61, 128).substr(13),
         127,
         false,
         {{0x0000, 0x03BF}, {0x03D0, 0x07FF}}},
        {"half lines and a repeat",
         text(7, 127,
              Line(0x7F0, 8, 0) + "\n" + Line(0x7F8, 8, 0) + "\n" + Line(0x7F8, 8, 1) + "\n"),
         121,
         true,
         {{0x0070, 0x07FF}}},
        {"last half line missing",
         text(7, 127, Line(0x7F0, 8, 0) + "\n"),
         120,
         false,
         {{0x0070, 0x07F7}}},
    };
    for (const Case& c : cases) {
        FileHub h;
        ASSERT_EQ(h.Load(c.text), kFileOk) << c.what;
        const CFileCoverage cov = h.io->Coverage();
        EXPECT_EQ(cov.linesHeld, c.held) << c.what;
        EXPECT_EQ(cov.lineCount, 128u) << c.what;
        EXPECT_EQ(cov.wholeWritable, c.whole) << c.what;
        ASSERT_EQ(cov.given.size(), c.given.size()) << c.what;
        for (std::size_t i = 0; i < c.given.size(); ++i) {
            EXPECT_EQ(cov.given[i].start, c.given[i].start) << c.what;
            EXPECT_EQ(cov.given[i].end, c.given[i].end) << c.what;
        }
    }
}

#ifndef _WIN32
// Devices and pipes without end: the reader stops at 16 MiB and the image stays as it was.
TEST(CloneFile, EndlessInputsStopAtTheLimit) {
    ::signal(SIGPIPE, SIG_IGN); // the feeder's writes fail once the reader has stopped
    const auto fifo = TempPath("feed.fifo");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* what;
        std::string path;
        std::string feed; // written into the FIFO this many times
        std::size_t times;
        const char* result;
    };
    const std::string good = "58270100\r\n#\r\n" + Line(0x100, 16, 0x20) + "\r\n";
    const std::string comment = "#" + std::string(1023, 'x') + "\n";
    const Case cases[] = {
        {"/dev/zero", "/dev/zero", "", 0, kFileFormatError},
        {"FIFO fed 17 MiB of comment lines", fifo.string(), comment, 17 * 1024, kFileFormatError},
        {"FIFO with a good file", fifo.string(), good, 1, kFileOk},
    };
    for (const Case& c : cases) {
        FileHub h;
        const CByteImage before = *h.eeprom;
        std::thread feeder;
        if (c.times) {
            feeder = std::thread([&c] {
                std::FILE* f = std::fopen(c.path.c_str(), "wb");
                for (std::size_t i = 0; f && i < c.times; ++i)
                    if (std::fwrite(c.feed.data(), 1, c.feed.size(), f) != c.feed.size()) break;
                if (f) std::fclose(f);
            });
        }
        const std::string r = h.io->LoadFromFile(c.path, h.model);
        if (feeder.joinable()) feeder.join();
        EXPECT_EQ(r, c.result) << c.what;
        if (r != kFileOk) {
            EXPECT_EQ(static_cast<CByteImage&>(*h.eeprom), before) << c.what;
        }
    }
    std::filesystem::remove(fifo);
}
#endif

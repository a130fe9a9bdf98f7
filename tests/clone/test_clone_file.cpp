// The clone data file: every result word of the reader, the writer's lines, and that a failed
// load never touches the document's image.
#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

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

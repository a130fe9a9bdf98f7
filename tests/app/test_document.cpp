// The document's files: loading through the scratch file, saving atomically with CR LF lines,
// New and Open with their prompts, and the variant kept in the settings.
#include <gtest/gtest.h>

#include "app/clone_support_doc.h"
#include "clone/byte_image.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "tests/support/file_text.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

class CScriptedPrompts final : public IUserPrompts {
public:
    std::vector<std::string> boxes;
    std::vector<std::string> statuses;
    KtAnswer answer = KtAnswer::No;
    KtAnswer MessageBox(const std::string& text, const std::string&, KtButtons buttons,
                        KtIcon) override {
        boxes.push_back(text);
        return buttons == KtButtons::Ok ? KtAnswer::Ok : answer;
    }
    void SetStatusText(const std::string& text) override { statuses.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        Platform().prompts = &prompts;
        dir = fs::temp_directory_path() /
              ("kt-doc-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        doc = std::make_unique<CZ30Doc>();
    }
    void TearDown() override {
        doc.reset();
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
        ResetPlatform();
    }
    CByteImage& Image() { return *doc->GetCloneManager()->GetImage(); }
    std::vector<std::uint8_t> Bytes() {
        std::vector<std::uint8_t> b;
        for (std::uint32_t a = 0; a < 2048; ++a)
            b.push_back(Image().ReadByte(a));
        return b;
    }

    CScriptedPrompts prompts;
    fs::path dir;
    std::unique_ptr<CZ30Doc> doc;
};

TEST_F(DocumentTest, SavedAndOpenedAgainReproducesTheWholeImage) {
    Image().WriteByte(0x010, 0xA5); // adjust area
    Image().WriteByte(0x6F, 0x3C);
    const fs::path f = dir / "a.hxq";
    ASSERT_TRUE(doc->DoSave(f.string()));
    const auto saved = Bytes(); // as saved, after the fix-up
    EXPECT_EQ(saved[0x6F], 0x3C);
    EXPECT_FALSE(doc->IsModified());
    const std::string text = ReadAll(f);
    EXPECT_EQ(text.substr(0, 10), "58270100\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 130);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 130);

    CZ30Doc other;
    other.LoadFile(f.string());
    for (std::uint32_t a = 0; a < 2048; ++a)
        ASSERT_EQ(other.GetCloneManager()->GetImage()->ReadByte(a), saved[a]) << a;
}

TEST_F(DocumentTest, ABadFileKeepsTheDocument) {
    const fs::path good = dir / "good.hxq";
    ASSERT_TRUE(doc->DoSave(good.string()));
    doc->SetModifiedFlag(true);
    const auto before = Bytes();
    struct Case {
        const char* name;
        std::string text;
        const char* word;
    };
    const Case cases[] = {
        {"model.hxq", "12340100\r\n#\r\n0000100000000000000000000000000000000000\r\n",
         "MISMATCH_MODEL"},
        {"rev.hxq", "58270200\r\n#\r\n", "MISMATCH_REVISION"},
        {"blank.hxq", "58270100\r\n#\r\n\r\n000010FF\r\n", "FORMAT_ERROR"},
        {"binary.hxq", std::string("\0\xff\xfe\n\n", 5), "FORMAT_ERROR"},
        {"overflow.hxq", "58270100\n#\n07F810" + std::string(32, 'A') + "\n", "DATA_OVERFLOW"},
    };
    for (const Case& c : cases) {
        WriteAll(dir / c.name, c.text);
        try {
            doc->LoadFile((dir / c.name).string());
            ADD_FAILURE() << c.name << " loaded";
        } catch (const CArchiveFormatError& e) {
            EXPECT_STREQ(e.what(), "Unexpected file format.");
            EXPECT_EQ(e.Word(), c.word) << c.name;
        }
        prompts.answer = KtAnswer::No; // discard changes when asked
        EXPECT_FALSE(doc->OnOpenDocument((dir / c.name).string()));
        EXPECT_EQ(prompts.boxes.back(), "Unexpected file format.");
        EXPECT_EQ(doc->GetPathName(), fs::weakly_canonical(good).string()) << c.name;
        EXPECT_TRUE(doc->IsModified()) << c.name;
        EXPECT_EQ(Bytes(), before) << c.name;
    }
}

// A file that does not hold every line a write sends opens, with the rest of the image as it was,
// and says so once; a whole one says nothing.
TEST_F(DocumentTest, APartialFileOpensWithOneWarning) {
    const fs::path whole = dir / "whole.hxq";
    ASSERT_TRUE(doc->DoSave(whole.string()));
    std::vector<std::string> lines;
    {
        std::ifstream in(whole, std::ios::binary);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line + "\n");
    }
    ASSERT_EQ(lines.size(), 130u);
    // Header and comment, then the data lines from..to (line n holds 16 * n on).
    auto dataLines = [&](std::size_t from, std::size_t to) {
        std::string t = lines[0] + lines[1];
        for (std::size_t i = from; i < to; ++i)
            t += lines[2 + i];
        return t;
    };
    struct Case {
        const char* name;
        std::string text;
        const char* box; // empty: no warning
        const char* status;
    };
    const Case cases[] = {
        {"cut.hxq", dataLines(0, 34),
         "cut.hxq holds 34 of 128 lines: addresses 0000-021F.\n\nThe rest kept the document's "
         "present values.",
         " cut.hxq held addresses 0000-021F only (34 of 128 lines); the rest kept the "
         "document's present values."},
        {"header.hxq", lines[0],
         "header.hxq holds 0 of 128 lines.\n\nThe rest kept the document's present values.",
         " header.hxq held no data; the document's values were kept."},
        {"sent.hxq", dataLines(7, 128), "", ""}, // what a clone write sends: enough
        {"again.hxq", dataLines(0, 128), "", ""},
    };
    for (const Case& c : cases) {
        WriteAll(dir / c.name, c.text);
        const auto present = static_cast<std::uint8_t>(Image().ReadByte(0x500) ^ 0x5A);
        Image().WriteByte(0x500, present); // a value of the document's that no fix-up touches
        doc->SetModifiedFlag(false);
        prompts.boxes.clear();
        prompts.statuses.clear();
        ASSERT_TRUE(doc->OnOpenDocument((dir / c.name).string())) << c.name;
        EXPECT_EQ(doc->GetTitle(), c.name);
        if (*c.box) {
            ASSERT_EQ(prompts.boxes.size(), 1u) << c.name;
            EXPECT_EQ(prompts.boxes[0], c.box);
            ASSERT_EQ(prompts.statuses.size(), 1u) << c.name;
            EXPECT_EQ(prompts.statuses[0], c.status);
            EXPECT_EQ(Image().ReadByte(0x500), present) << c.name;
        } else {
            EXPECT_TRUE(prompts.boxes.empty()) << c.name;
            EXPECT_TRUE(prompts.statuses.empty()) << c.name;
        }
    }
    // The refusal of a write on the command line, from what the last load held.
    WriteAll(dir / "cut2.hxq", dataLines(0, 34));
    doc->LoadFile((dir / "cut2.hxq").string());
    EXPECT_EQ(PartialWriteRefusal("cut2.hxq", doc->LastLoad()),
              "cut2.hxq holds 34 of 128 lines; the rest would be the factory defaults. Use "
              "--allow-partial to write it anyway.");
}

// The command line's load: what a partial file leaves out is the factory default of the file's
// own variant, whatever variant and values the document had.
TEST_F(DocumentTest, LoadingOverDefaultsFillsTheRestFromTheFilesVariant) {
    // The first lines of a saved file of the variant: header, comment, data lines 0..count-1.
    auto cutFile = [&](int variant, std::size_t first, std::size_t count) {
        CZ30Doc source;
        source.GetCloneManager()->GetModelManager()->SetVariant(variant, true);
        const fs::path whole = dir / "whole.hxq";
        EXPECT_TRUE(source.DoSave(whole.string()));
        std::ifstream in(whole, std::ios::binary);
        std::string text, line;
        for (std::size_t n = 0; std::getline(in, line); ++n)
            if (n < 2 || (n >= 2 + first && n < 2 + first + count)) text += line + "\n";
        const fs::path cut = dir / ("cut" + std::to_string(variant) + ".hxq");
        WriteAll(cut, text);
        return cut.string();
    };
    auto imageOf = [](CZ30Doc& d) {
        d.GetCloneManager()->TreeToImage();
        return d.ImageBytes();
    };
    struct Case {
        int fileVariant, docVariant;
        std::size_t first, count; // the data lines the file holds
        int loadedVariant;
    };
    const Case cases[] = {
        {5, 0, 0, 34, 5},  // PMR 16CH over an LMR 1CH document
        {0, 5, 0, 34, 0},  // and back
        {3, 3, 0, 8, 3},   // the same variant: its defaults all the same
        {2, 4, 0, 0, 4},   // no data: the document's variant, its defaults
        {1, 4, 7, 121, 5}, // 0x0070 on: the channel count is the document's, PMR the file's
    };
    for (const Case& c : cases) {
        const std::string file = cutFile(c.fileVariant, c.first, c.count);
        const std::string what =
            std::to_string(c.fileVariant) + " over " + std::to_string(c.docVariant);
        doc->GetCloneManager()->GetModelManager()->SetVariant(c.docVariant, true);
        Image().WriteByte(0x500, static_cast<std::uint8_t>(Image().ReadByte(0x500) ^ 0x5A));
        doc->GetCloneManager()->ImageToTree(); // a present value no default has
        doc->LoadFileOverDefaults(file);
        EXPECT_EQ(doc->GetVariant(), c.loadedVariant) << what;
        EXPECT_FALSE(doc->IsModified()) << what;
        // As if the file had been opened in a new document of the variant it gives.
        CZ30Doc expected;
        expected.GetCloneManager()->GetModelManager()->SetVariant(c.loadedVariant, true);
        expected.LoadFile(file);
        EXPECT_EQ(imageOf(*doc), imageOf(expected)) << what;
    }
}

TEST_F(DocumentTest, OpeningTheOpenFileAgainDoesNothing) {
    const fs::path f = dir / "a.hxq";
    ASSERT_TRUE(doc->DoSave(f.string()));
    doc->SetModifiedFlag(true);
    prompts.boxes.clear();
    EXPECT_FALSE(doc->OnOpenDocument((dir / "." / "a.hxq").string()));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0], "The file already opened.");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, SaveModifiedAnswers) {
    const fs::path f = dir / "a.hxq";
    ASSERT_TRUE(doc->DoSave(f.string()));
    struct Case {
        KtAnswer answer;
        bool proceeds, stillModified;
    };
    for (const Case c : {Case{KtAnswer::Cancel, false, true}, Case{KtAnswer::No, true, true},
                         Case{KtAnswer::Yes, true, false}}) {
        doc->SetModifiedFlag(true);
        prompts.answer = c.answer;
        prompts.boxes.clear();
        EXPECT_EQ(doc->CanCloseFrame(), c.proceeds);
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0], "Save changes to a.hxq?");
        EXPECT_EQ(doc->IsModified(), c.stillModified);
    }
}

TEST_F(DocumentTest, NewLoadsDefaultsAndEmptiesThePath) {
    ASSERT_TRUE(doc->DoSave((dir / "a.hxq").string()));
    Image().WriteByte(0x200, 0x77);
    doc->SetModifiedFlag(true);
    prompts.answer = KtAnswer::Cancel;
    EXPECT_FALSE(doc->OnFileNew());
    EXPECT_EQ(Image().ReadByte(0x200), 0x77);
    prompts.answer = KtAnswer::No;
    EXPECT_TRUE(doc->OnFileNew());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), "");
    EXPECT_EQ(doc->GetTitle(), "Untitled");
}

TEST_F(DocumentTest, TheVariantIsKeptInTheSettings) {
    Platform().settings->SetInt("Model", "ModelVer", 9);
    doc = std::make_unique<CZ30Doc>();
    EXPECT_EQ(doc->GetVariant(), 5);
    doc->GetCloneManager()->GetModelManager()->SetVariant(2, true);
    doc.reset();
    EXPECT_EQ(Platform().settings->GetInt("Model", "ModelVer", -1), 2);
}

TEST_F(DocumentTest, TemporaryFilesArePrivateAndGoWithTheDocument) {
    const std::string scratch = doc->ScratchPath();
    ASSERT_FALSE(scratch.empty());
    EXPECT_EQ(fs::path(scratch).filename().string().rfind("~KT", 0), 0u);
#ifndef _WIN32
    EXPECT_EQ(fs::status(scratch).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
#endif
    doc.reset();
    EXPECT_FALSE(fs::exists(scratch));
}

#ifndef _WIN32
// A failed save leaves the previous file as it was, says so, and keeps the modified flag.
TEST_F(DocumentTest, AFailedSaveLeavesTheOldFileIntact) {
    const fs::path f = dir / "keep.hxq";
    ASSERT_TRUE(doc->DoSave(f.string()));
    const std::string old = ReadAll(f);
    Image().WriteByte(0x300, 0x12);
    doc->SetModifiedFlag(true);

    // A disk that fills up after 1,000 bytes: the file size limit makes every write beyond it
    // fail, in a child process so that the limit does not outlive the case.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = doc->DoSave(f.string());
        _exit(!saved && doc->IsModified() && !prompts.boxes.empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadAll(f), old);

    // A folder that cannot be written (meaningless for a super-user, who writes anyway).
    if (geteuid() != 0) {
        fs::permissions(dir,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        prompts.boxes.clear();
        EXPECT_FALSE(doc->DoSave(f.string()));
        EXPECT_EQ(prompts.boxes.size(), 1u);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(ReadAll(f), old);
    }
    // A folder that is not there.
    EXPECT_FALSE(doc->DoSave((dir / "missing" / "x.hxq").string()));
    EXPECT_TRUE(doc->IsModified());
    // A link to nothing stays one, and the box says why.
    const fs::path link = dir / "link.hxq";
    fs::create_symlink(dir / "gone.hxq", link);
    prompts.boxes.clear();
    EXPECT_FALSE(doc->DoSave(link.string()));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_NE(prompts.boxes[0].find(link.string() + " is a symbolic link to nothing"),
              std::string::npos)
        << prompts.boxes[0];
    // Nothing but the old file and the link is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}
#endif

} // namespace

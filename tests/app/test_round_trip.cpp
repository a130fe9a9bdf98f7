// Whole-document round trips: any file the reader accepts, once loaded and saved, saves to the
// same text again, and loading a saved file changes no byte of the image.
#include <gtest/gtest.h>

#include "app/clone_support_doc.h"
#include "clone/byte_image.h"
#include "core/platform.h"
#include "tests/support/file_text.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
// A clone data file of 128 lines of random bytes (random bytes 7 and 0x7B bring up every
// variant).
void WriteRandomFile(const fs::path& p, std::mt19937& rng) {
    std::vector<std::uint8_t> image(2048);
    for (std::uint8_t& b : image)
        b = static_cast<std::uint8_t>(rng() & 0xFF);
    WriteAll(p, WholeCloneFileText(image));
}
} // namespace

TEST(DocumentRoundTrip, SaveLoadSaveGivesTheSameTextAndImage) {
    ResetPlatform();
    const fs::path dir = fs::temp_directory_path() / ("kt-roundtrip-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::mt19937 rng(2026);
    for (int round = 0; round < 40; ++round) {
        const fs::path source = dir / "random.hxq";
        const fs::path first = dir / "first.hxq";
        const fs::path second = dir / "second.hxq";
        WriteRandomFile(source, rng);

        CZ30Doc a;
        a.SetRememberVariant(false);
        ASSERT_NO_THROW(a.LoadFile(source.string())) << round;
        ASSERT_TRUE(a.DoSave(first.string())) << round;
        const CByteImage saved = *a.GetCloneManager()->GetImage();

        CZ30Doc b;
        b.SetRememberVariant(false);
        ASSERT_NO_THROW(b.LoadFile(first.string())) << round;
        EXPECT_EQ(*b.GetCloneManager()->GetImage(), saved) << "load changed bytes, round " << round;
        EXPECT_EQ(b.GetVariant(), a.GetVariant()) << round;
        ASSERT_TRUE(b.DoSave(second.string())) << round;
        EXPECT_EQ(ReadAll(first), ReadAll(second)) << "round " << round;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    ResetPlatform();
}

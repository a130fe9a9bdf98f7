// The document's clone commands against the in-process radio model, on a fake clock.
#include <gtest/gtest.h>

#include "app/clone_support_doc.h"
#include "clone/clone_backups.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "core/platform.h"
#include "sim/radio_model.h"
#include "sim/sim_link.h"

#include "tests/support/step_clock.h"
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

class CScriptedPrompts final : public IUserPrompts {
public:
    std::vector<std::string> boxes, status;
    KtAnswer answer = KtAnswer::Ok; // for questions
    KtAnswer MessageBox(const std::string& text, const std::string&, KtButtons buttons,
                        KtIcon) override {
        boxes.push_back(text);
        if (buttons == KtButtons::Ok) return KtAnswer::Ok;
        if (buttons == KtButtons::OkCancel) return answer == KtAnswer::Yes ? KtAnswer::Ok : answer;
        return answer == KtAnswer::Ok ? KtAnswer::Yes : answer;
    }
    void SetStatusText(const std::string& text) override { status.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {
        if (onEndWait) onEndWait();
    }
    std::function<void()> onEndWait;
};

class CRecordingBeeper final : public IBeeper {
public:
    std::vector<unsigned> tones;
    void Beep(unsigned hz, unsigned) override { tones.push_back(hz); }
};

class CCancellingProgress final : public ITransferProgress {
public:
    explicit CCancellingProgress(bool cancel) : m_cancel(cancel) {}
    void SetPercent(int) override {}
    void PumpMessages() override {}
    bool TakeCancelRequest() override { return m_cancel && ++m_polls > 20; }

private:
    bool m_cancel;
    int m_polls = 0;
};

class DocCloneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        CPlatformServices& p = Platform();
        p.clock = &clock;
        p.prompts = &prompts;
        p.beeper = &beeper;
        p.serialFactory = [this]() -> std::unique_ptr<ISerialDevice> {
            ++opened;
            return std::make_unique<CSimLink>(radio, &clock);
        };
        p.progressFactory = [this]() -> std::unique_ptr<ITransferProgress> {
            return std::make_unique<CCancellingProgress>(cancel);
        };
        doc = std::make_unique<CZ30Doc>();
        Model().SetVariant(radio.Identity().variant, true); // a document the radio accepts
    }
    void TearDown() override {
        doc.reset();
        ResetPlatform();
    }

    CByteImage& Image() { return *doc->GetCloneManager()->GetImage(); }
    std::vector<std::uint8_t> Bytes() {
        std::vector<std::uint8_t> b;
        for (std::uint32_t a = 0; a < 2048; ++a)
            b.push_back(Image().ReadByte(a));
        return b;
    }
    CModelManager& Model() { return *doc->GetCloneManager()->GetModelManager(); }
    CCloneRsIoManager& Io() { return *doc->GetCloneManager()->GetCloneRsIoManager(); }

    CStepClock clock;
    CScriptedPrompts prompts;
    CRecordingBeeper beeper;
    CSimRadio radio;
    bool cancel = false;
    int opened = 0;
    std::unique_ptr<CZ30Doc> doc;
};

const std::vector<unsigned> kSuccessBeeps = {1000, 1000};
const std::vector<unsigned> kFailureBeeps = {500, 500, 500, 500};

TEST_F(DocCloneTest, ReadTakesTheRadiosVariantAndMarksModified) {
    radio.Identity().variant = 3;
    radio.Image().CopyFrom(CZ30DefaultDataManager::FactoryImage(3));
    for (std::uint32_t a = 0x100; a < 0x110; ++a)
        radio.Image().WriteByte(a, 0x5A);
    ASSERT_FALSE(doc->IsModified());
    std::vector<CChangeNotice> notices;
    doc->Subscribe([&](const CChangeNotice& n) {
        EXPECT_TRUE(doc->IsModified()) << "the notice comes when the read is complete";
        notices.push_back(n);
    });
    EXPECT_EQ(doc->OnCloneRead(), 0);
    EXPECT_EQ(doc->GetVariant(), 3);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].reason, CChangeReason::Read);
    EXPECT_EQ(beeper.tones, kSuccessBeeps);
    EXPECT_EQ(prompts.status.back(), " Cloning completed.");
    radio.Faults().noAnswer = true; // a failed read changes nothing and tells nothing
    EXPECT_NE(doc->OnCloneRead(), 0);
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(DocCloneTest, TheReceivedImageIsInPlaceBeforeTheWaitCursorGoes) {
    radio.Image().CopyFrom(Image());
    radio.Image().WriteByte(0x100, static_cast<std::uint8_t>(Image().ReadByte(0x100) ^ 0x5A));
    std::vector<int> atEnd;
    prompts.onEndWait = [&] { atEnd.push_back(Image().ReadByte(0x100)); };
    ASSERT_EQ(doc->OnCloneRead(), 0);
    ASSERT_FALSE(atEnd.empty());
    EXPECT_EQ(atEnd.back(), radio.Image().ReadByte(0x100));
}

TEST_F(DocCloneTest, ServiceModesAnswerWithTheButtonCode) {
    struct Case {
        bool alreadyOn;
        KtAnswer answer;
        int result;
        bool on;
        std::size_t boxes;
    };
    const Case cases[] = {
        {false, KtAnswer::Ok, 1, true, 1},
        {false, KtAnswer::Cancel, 2, false, 1},
        {true, KtAnswer::Ok, 2, true, 0},
    };
    CCloneManager& hub = *doc->GetCloneManager();
    for (bool maker : {true, false}) {
        for (const Case& c : cases) {
            if (maker)
                Model().SetMakerReserve(c.alreadyOn);
            else
                Model().SetManufacture(c.alreadyOn);
            prompts.boxes.clear();
            prompts.answer = c.answer;
            EXPECT_EQ(maker ? hub.ActivateMakerReserve() : hub.ActivateManufacture(), c.result)
                << maker << c.alreadyOn;
            EXPECT_EQ(maker ? Model().IsMakerReserve() : Model().IsManufacture(), c.on) << maker;
            ASSERT_EQ(prompts.boxes.size(), c.boxes) << maker;
            if (c.boxes) {
                EXPECT_EQ(prompts.boxes[0], maker ? kMakerReserveCaution : kManufactureCaution);
            }
        }
    }
}

TEST_F(DocCloneTest, CancelledReadLeavesTheImage) {
    cancel = true;
    const auto before = Bytes();
    EXPECT_EQ(doc->OnCloneRead(), 1);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(prompts.status.back(), " Terminated cloning.  ");
    EXPECT_EQ(beeper.tones, kFailureBeeps);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocCloneTest, RefusedRadiosLeaveTheImageAndReport) {
    struct Case {
        int revision, radioVariant, docVariant;
        SimTrType type;
        int read, write, info;
    };
    const Case cases[] = {
        {0x0200, 4, 4, SimTrType::Conventional, 85, 85, 85},
        {0x0105, 0, 4, SimTrType::Conventional, 0, 90, 0}, // 16 channels to a 1-channel radio
        {0x0100, 5, 4, SimTrType::Conventional, 0, 0, 0},  // LMR to PMR of the same class
        {0x0100, 4, 4, SimTrType::Gmrs, 77, 77, 77},
    };
    for (const Case& c : cases) {
        radio.Identity().revision = static_cast<std::uint16_t>(c.revision);
        radio.Identity().variant = c.radioVariant;
        radio.Identity().trType = c.type;
        const int got[3] = {
            (Model().SetVariant(c.docVariant, true), doc->OnCloneWrite()),
            doc->OnCloneInfo(),
            (Model().SetVariant(c.docVariant, true), doc->OnCloneRead()),
        };
        EXPECT_EQ(got[0], c.write) << c.revision << " " << c.radioVariant;
        EXPECT_EQ(got[1], c.info) << c.revision << " " << c.radioVariant;
        EXPECT_EQ(got[2], c.read) << c.revision << " " << c.radioVariant;
        if (c.read == 85) {
            EXPECT_EQ(prompts.status.back(), " Err: Illegal information.");
            EXPECT_EQ(prompts.boxes.back(), kStrCannotProgram);
        }
    }
}

TEST_F(DocCloneTest, NoRadioGives77) {
    radio.Faults().noEcho = true;
    radio.Faults().noAnswer = true;
    const auto before = Bytes();
    EXPECT_EQ(doc->OnCloneRead(), 77);
    EXPECT_EQ(prompts.status.back(), " Err: Cannot read cloning data.");
    EXPECT_EQ(prompts.boxes.back(), kStrCheckFollowing);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(DocCloneTest, AWriteWhoseTransferFileCannotBeSavedNeverOpensThePort) {
    const std::string transfer = Io().TransferPath();
    ASSERT_FALSE(transfer.empty());
    std::filesystem::remove(transfer);
    std::filesystem::create_directory(transfer); // the file cannot be opened for writing
    const int before = opened;
    const int result = doc->OnCloneWrite();
    const int opens = opened - before;
    std::filesystem::remove(transfer);
    EXPECT_EQ(result, 80);
    EXPECT_EQ(opens, 1) << "only the info exchange opens the port";
    EXPECT_EQ(prompts.status.back(), " Err: Cannot write cloning data.");
}

TEST_F(DocCloneTest, NormalWriteKeepsTheRadiosAdjustAreaMakerReserveSendsIt) {
    for (bool maker : {false, true}) {
        for (std::uint32_t a = 0; a < 0x70; ++a)
            radio.Image().WriteByte(a, 0xEE);
        Model().SetMakerReserve(maker);
        Image().WriteByte(0x20, 0x42);
        EXPECT_EQ(doc->OnCloneWrite(), 0);
        EXPECT_EQ(radio.Image().ReadByte(0x20), maker ? Image().ReadByte(0x20) : 0xEE) << maker;
    }
    // Revision 1.0: the alignment values of that revision went with the whole image.
    EXPECT_EQ(radio.Image().ReadByte(0x004), 0x11);
    EXPECT_EQ(radio.Image().ReadByte(0x005), 0x50);
    EXPECT_EQ(radio.Image().ReadByte(0x006), 0xF8);
    EXPECT_EQ(radio.Image().ReadByte(0x056), 0x10);
}

TEST_F(DocCloneTest, AWriteIsReadBackApartFromTheDocument) {
    struct Case {
        const char* what;
        bool verify, maker;
        int corrupt, stopAfter;
        int result, readResult;
        std::size_t differing;
        const char* status;
    };
    const Case cases[] = {
        {"equal", true, false, -1, -1, 0, 0, 0, " Cloning completed. Verified."},
        {"a channel byte differs", true, false, 0x0229, -1, 77, 0, 1,
         " Err: Verification failed: 1 byte differs."},
        {"the adjust area a normal write does not send", true, false, 0x0020, -1, 0, 0, 0,
         " Cloning completed. Verified."},
        {"the adjust area in Maker reserve", true, true, 0x0020, -1, 77, 0, 1,
         " Err: Verification failed: 1 byte differs."},
        {"the read-back times out", true, false, -1, 130, 77, 77, 0,
         " Err: The write could not be verified."},
        {"verification off", false, false, 0x0229, -1, 0, 0, 0, " Cloning completed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radio = CSimRadio();
        radio.Faults().corruptWrite = c.corrupt;
        radio.Faults().stopAfter = c.stopAfter;
        Model().SetMakerReserve(c.maker);
        Io().SetVerifyAfterWrite(c.verify);
        doc->SetModifiedFlag(false);
        int notices = 0;
        const int id = doc->Subscribe([&](const CChangeNotice&) { ++notices; });
        beeper.tones.clear();
        const int before = opened;
        EXPECT_EQ(doc->OnCloneWrite(), c.result);
        doc->Unsubscribe(id);
        EXPECT_EQ(opened - before, c.verify ? 4 : 2) << "info and write, then info and read";
        const CVerifyOutcome& v = Io().LastVerify();
        EXPECT_EQ(v.ran, c.verify);
        EXPECT_EQ(v.readResult, c.readResult);
        EXPECT_EQ(v.differing, c.differing);
        EXPECT_EQ(prompts.status.back(), c.status);
        EXPECT_EQ(beeper.tones, c.result == 0 ? kSuccessBeeps : kFailureBeeps);
        // The read-back stays apart: the document holds what was written, unmarked.
        EXPECT_EQ(notices, 0);
        EXPECT_FALSE(doc->IsModified());
        if (c.differing) {
            ASSERT_EQ(v.first.size(), 1u);
            const auto a = static_cast<std::uint32_t>(c.corrupt);
            EXPECT_EQ(v.first[0].address, a);
            EXPECT_EQ(v.first[0].written, Image().ReadByte(a));
            EXPECT_EQ(v.first[0].read, radio.Image().ReadByte(a));
            EXPECT_NE(v.first[0].read, v.first[0].written);
            EXPECT_NE(prompts.boxes.back().find(c.maker ? "0x0020" : "0x0229  written"),
                      std::string::npos)
                << prompts.boxes.back();
        }
    }
    Model().SetMakerReserve(false);
}

TEST_F(DocCloneTest, BackupsOfReadsAndWritesNeverStopATransfer) {
    namespace fs = std::filesystem;
    const fs::path place =
        fs::temp_directory_path() / ("kt_doc_backups_" + std::to_string(getpid()));
    radio.Image().CopyFrom(CZ30DefaultDataManager::FactoryImage(radio.Identity().variant));
    for (bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "a folder" : "a file in the way");
        fs::remove_all(place);
        if (!writable) std::ofstream(place) << "in the way";
        Io().SetBackupFolder((place / "backups").string());
        doc->SetModifiedFlag(false);
        ASSERT_EQ(doc->OnCloneRead(), 0);
        const std::string readStatus = prompts.status.back();
        ASSERT_EQ(doc->OnCloneWrite(), 0);
        const std::string writeStatus = prompts.status.back();
        const auto list = CBackupStore((place / "backups").string()).List();
        if (!writable) {
            EXPECT_TRUE(list.empty());
            EXPECT_EQ(readStatus.rfind(" Cloning completed. Backup not saved: cannot make ", 0), 0u)
                << readStatus;
            EXPECT_EQ(writeStatus.rfind(" Cloning completed. Verified. Backup not saved: ", 0), 0u)
                << writeStatus;
            continue;
        }
        EXPECT_EQ(readStatus, " Cloning completed.");
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].operation, "write");
        EXPECT_EQ(list[1].operation, "read");
        EXPECT_EQ(list[0].variant, doc->GetVariant());
        // The backup of the write holds the image as it went to the radio.
        EXPECT_EQ(list[0].path, Io().LastBackup());
        CZ30Doc copy;
        copy.SetRememberVariant(false);
        copy.LoadFile(list[0].path);
        EXPECT_EQ(copy.ImageBytes(), doc->ImageBytes());
    }
    fs::remove_all(place);
    doc->SetModifiedFlag(false);
}

TEST_F(DocCloneTest, CommandsDoNothingWhileTheGuardIsTaken) {
    ASSERT_TRUE(TryEnterModal());
    EXPECT_EQ(doc->OnCloneRead(), kCommandBusy);
    EXPECT_EQ(doc->OnCloneWrite(), kCommandBusy);
    EXPECT_EQ(doc->OnCloneInfo(), kCommandBusy);
    EXPECT_FALSE(doc->OnFileSave());
    LeaveModal();
    EXPECT_EQ(opened, 0);
}

} // namespace

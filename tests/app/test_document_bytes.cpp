// Loading and saving are exact: the bytes a document loads and saves are the ones recorded
// before the image fix-up got a tree of its own, and neither touches the document's tree.
#include <gtest/gtest.h>

#include "app/clone_support_doc.h"
#include "clone/byte_image.h"
#include "clone/clone_file_io_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "params/set_result.h"
#include "tests/support/file_text.h"

#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// FNV-1a of the saved files of each variant's factory defaults.
constexpr std::uint64_t kDefaultFiles[] = {0x3f684a6021bc4c2eull, 0xef25024d8d001742ull,
                                           0x5de7d853577b8666ull, 0x8599202de041184aull,
                                           0x3b277b017b0cfee5ull, 0x17bd9f031643b429ull};

// For each random file: the image it loads to, and the file saved after random edits.
struct CRecorded {
    std::uint64_t loaded;
    std::uint64_t saved;
};
constexpr CRecorded kRandomFiles[] = {
    {0x25cc096fe8abc73bull, 0x3944bf489af05b2dull}, {0xfe26a705ad0b3afaull, 0xd0216a858de5f83full},
    {0xd68fc247bd019130ull, 0x091c770e1e1fdad5ull}, {0x6ebd3fbc83379ed4ull, 0xeee352392824f404ull},
    {0xcfc55536b83c9b65ull, 0x4d0bd479773fe516ull}, {0x611406968ed6e73full, 0xc0b928fa80ac97dbull},
    {0x3dfb7e1328ab7f8full, 0xab7784e0d884d5e0ull}, {0x0debd6d338820e67ull, 0x54a063a9c017b87eull},
    {0x634e965a6d53bf14ull, 0x1737cdf8e06f224full}, {0x2c97a7463ac8f76cull, 0x23d30aa5adf691b5ull},
    {0xcfa6e5ef44d3e89full, 0x1d99d1eb4f5fe553ull}, {0x856e1ccfd72ea20eull, 0x8ebbfad6a73756e2ull},
    {0xaff929ccbf4313a2ull, 0x2515a37ee3088576ull}, {0xc606f1a527a5a1c2ull, 0xfc8510ca9d41b0a9ull},
    {0x73f03beae6253402ull, 0xdf9618373c76481full}, {0xebcf2d532b229c75ull, 0xe65fcba544496629ull},
    {0x6e46d70a9225f2e8ull, 0x4fb4ba57a61d4bf9ull}, {0x42cda10f7fbad52cull, 0x629f3015645993cbull},
    {0x801d2ad926fbb67cull, 0x0c4cb032a7e2867aull}, {0xab3c4fd7ff27a9d1ull, 0xa1848ce422219fe3ull},
    {0xe6b87b70b7bc63d0ull, 0x1a9abc2bbeb4f9a0ull}, {0x4e675ab2de690831ull, 0xc694aa9c27051b0aull},
    {0x9e30b165f8b734b3ull, 0x08d83185fbaebba5ull}, {0x934093d2513cd99aull, 0x84d4c641a1067b52ull},
    {0x3e1c659f7692a10eull, 0xbac9476083b815f7ull}, {0x97ef5383a0cf12d2ull, 0xa5d66cd3744da437ull},
    {0x2791283d2ca4a232ull, 0x358cdab2cb252521ull}, {0x9b838326491c6be6ull, 0xc1e7e6ed3f410dfcull},
    {0x74486abb52541b6eull, 0xd3100c8e26dbf9e7ull}, {0x1f0fa0cb3b469f04ull, 0x0cb1a858f804e3c0ull},
    {0x5f22982618585179ull, 0xbae01f530c43729bull}, {0xc40e5a9b0de4f26full, 0x383cb1fff636bd3bull},
    {0x77f68cb2523d16e6ull, 0x71281857ff80e302ull}, {0x46c3670930e534beull, 0x5115b8febbc7536dull},
    {0x13ec5ba60641bd5bull, 0xc551bed556b842fdull}, {0xd70586e6c989480dull, 0x124ced26573648fdull},
    {0xa65301d5a0196b61ull, 0x59c9faf240a43222ull}, {0xc73ea6ee318592f3ull, 0xef376dccbaf5bda3ull},
    {0xdc657da802e804c5ull, 0x8696134f64712837ull}, {0xee31aa8733830d79ull, 0xd21799cb566e6aadull},
    {0xf3a6ee5709b25965ull, 0x9d699b2fa1ad9f72ull}, {0xa95c72558819cf1cull, 0x98c21a17d9cfdab5ull},
    {0xa5262377485e2014ull, 0x1be61e71953c02a1ull}, {0x091c9689ad3094b5ull, 0x131d76e1abd9b682ull},
    {0xb8b90dd0532f1b49ull, 0xeef7689133f1a584ull}, {0x58db3e6f614f8767ull, 0xaca4b8861fb012b1ull},
    {0xb966325d824eb436ull, 0x65bce28b107867d7ull}, {0xbb990b7c9dec7bb1ull, 0x5b0734d1c11301e8ull},
    {0x8837a95279d54c51ull, 0x63f721b90ec8e369ull}, {0x3ca51e2f98fe8cffull, 0xb58888168d3728beull},
    {0x3737fb1b21e7fd1full, 0x89e1ef9713320f3dull}, {0x63f446b8ada3ce23ull, 0x1e39d7a0cf56db4bull},
    {0x48a9165c312cd9c5ull, 0xb406b78f4e03b034ull}, {0x53d59db2bc830177ull, 0xf1024ca51272eb51ull},
    {0x06e5e66efb29fa25ull, 0xd17b493029487a8full}, {0x560afd0f1992c5ccull, 0x9c3ecec2bdbb4fefull},
    {0x2e57a46df0bdaea7ull, 0x36ec3771a5e39700ull}, {0x714d9c2b2fd441b0ull, 0x692d5cc76ab67c66ull},
    {0x9b9d33a70b623764ull, 0x900dc5a7ec0308a6ull}, {0xdf30b929a6781891ull, 0x970c7df3c2d691c3ull},
    {0x9fc6ad2796e0b7ebull, 0x4130f2412a049052ull}, {0x02653835dc8569f2ull, 0xbe1da9e6a1c671cfull},
    {0x3baa2d51d791894full, 0x26956c60f2a55a0eull}, {0x347065f6c80455eeull, 0xe586533f4d7538c8ull},
    {0xb09e4e5bab913c1dull, 0x01d7b62e767bad7eull}, {0x6b2dfca3df2fe995ull, 0xfc56e46c995d17e2ull},
    {0xd7217d3e87a5eba3ull, 0x28bcd985bb1c2237ull}, {0x817f608e63169ad6ull, 0x85cefe36016ca146ull},
    {0xe24cd745fb344d53ull, 0x6424f093694ec5b1ull}, {0xddb583b606f6e560ull, 0x86b25bf88cc67862ull},
    {0x7d0dd98ee9c359e1ull, 0xe2242b6eafd9e88bull}, {0xa785dc2cecf2ab23ull, 0x965833ba172323e1ull},
    {0xe9aebc8da0c6e2a8ull, 0xfa14d3e39135aa45ull}, {0x821f02ddfc17266dull, 0xd08f12a047e1c97cull},
    {0x822e4e2df619f79eull, 0xfe09b713e32156f8ull}, {0xb987338def300ba7ull, 0x62c8eaf49aa0d890ull},
    {0xee882056b6c7386cull, 0xd774cc39b580f1cbull}, {0x4bfb8bf190d47eb3ull, 0xbea5cdabe30c6170ull},
    {0x4f9d78de0cbe7cc5ull, 0x08513e5b180fff2dull}, {0xcdfd60a2b06dcfaaull, 0x2c429afa69994773ull},
    {0x10c474a4998beb1bull, 0x6a58459097b6383dull}, {0xeaaa37b54f0c0ccdull, 0x39ee2a4ca3a26742ull},
    {0x8bb50d0c2c0722ffull, 0xfbf2f5747fc36e7bull}, {0x10a02f3eddf1695full, 0xba32612701fa5e5cull},
    {0xd768807da9bb6481ull, 0x62cf1991a52a3271ull}, {0x3c73be8ec9035993ull, 0x9cc67af548d6f30eull},
    {0xa6157506bdb5b391ull, 0x8c4cd33c1d0f15caull}, {0xa6042df37412fd86ull, 0x4af1e3cdc343aee2ull},
    {0xc66131e770b9cfc2ull, 0xf1a24cb979c69664ull}, {0x54c1352caccfd7bbull, 0xb88c1cd0e48c6bbaull},
    {0x97381424742a3ac3ull, 0xcf07bcaabe765125ull}, {0x47d1d927ca5722bfull, 0xff44f33e56e8ccbdull},
    {0x3a3f173993227e0full, 0xcc45fc7de80182d4ull}, {0x4e4f279789938ef2ull, 0x46f0f0015bac98acull},
    {0x71a3ed244aa6bb51ull, 0xa7517ad771287b77ull}, {0xe7661c0af5cc1ef6ull, 0xc4b7f0c7f58e7458ull},
    {0xa7b9c7ccaf46174full, 0x21a1531b0f8e7213ull}, {0xf76f19ef00af1dcfull, 0x3f1b3fc9764c2248ull},
    {0x6c13f4927bfe8274ull, 0xd66485a4e9c9ef1dull}, {0x7418048a8a779ff8ull, 0x8aeda894ede83671ull},
    {0xebcfc407b67e1d7eull, 0x054e8de60bfc14bcull}, {0xc26f4d48891946c7ull, 0x403cb37f515b61fbull},
    {0xc0f7e7edbb1111f6ull, 0x836c4c8b99852c59ull}, {0x904e8fb94971ea52ull, 0xe948bf53eb22d036ull},
    {0x1122f26fe4e4cd18ull, 0x1d63846256566e8dull}, {0x11330a78e5e87a17ull, 0xbba5d6a9ccc86205ull},
    {0x251bb0baa0007dd4ull, 0x294f2727b3fdd6ebull}, {0x268d2f92e3f9b54aull, 0xf24be14f825b5d5bull},
    {0xbfb814f50418724aull, 0xc0305140415cda4eull}, {0x8f57499dd6f0637bull, 0x47b540cfb63f5958ull},
    {0x4f3c9556d9c0ec90ull, 0xe9c78257056e3f3cull}, {0xd030e6101b3016d0ull, 0x99004edc8cf2f143ull},
    {0x98fc777b417d5223ull, 0xd2274aca19cb4dbcull}, {0x052b2aed4318bd81ull, 0x44ad6534daaffd56ull},
    {0x5c3ff293b894aaadull, 0xe6649f0960460ea6ull}, {0xb7bd5d3f5aa0a646ull, 0x5d4d44b15bea187dull},
    {0x57d23f7468e393ccull, 0xcd38f9bbdfa45890ull}, {0x8f2627f146519738ull, 0x7b2662a9683a018full},
    {0xc492755bd6a5d255ull, 0xd3420adc40d54572ull}, {0xa6ed2c4d5e1fc6e1ull, 0x9d0ad2db2951affbull},
    {0x585ac5355f3fe749ull, 0x46a5621f6534fb89ull}, {0x6be1b429b540f4c9ull, 0xec676b6ecb8008b4ull},
    {0xd8436bf0edc02375ull, 0x32675ddcaa88eb7cull}, {0x4b3ff3fd0ea571e8ull, 0xbf163b606733e70eull},
    {0x93de727e401fe78aull, 0x496dfa739e04970cull}, {0x750e223612b45252ull, 0xe3e3f7138a62ea3full},
    {0x5a849f2ea8d417a1ull, 0xe323a9a1cabc796cull}, {0x0cb0657f0fd59803ull, 0x2326b788e21b67afull},
    {0x623a98ad2c4e5d70ull, 0x809878f4f9d741aeull}, {0x4203978e271d48f7ull, 0x5b318c0e0d2b53d5ull},
    {0x86cf102c770382afull, 0xf2ad7b275b17e881ull}, {0x425d90779359bc2eull, 0xac3dfebe14f939f4ull},
    {0x6f2b1e5501cb484full, 0x3ff04b3d0d923366ull}, {0x16a1769f92ce0dc1ull, 0xfcc4e25a8739abadull},
    {0xc99ba399dbe446dbull, 0x2c43b0095fd1a5aaull}, {0x405cb908b1828db3ull, 0x93a5b36a4d26ac4eull},
    {0x62c9617ddf4f43cbull, 0x3afe6fe67f06f9d0ull}, {0x609d32c80de4d45full, 0x21cea810402b4ef2ull},
    {0x00d93164964bc172ull, 0x9033f2b61cbac536ull}, {0xa0aaeee57527f2e2ull, 0xe853b74977a659e6ull},
    {0x1478e41474aab25bull, 0x28eb1702a508a8fcull}, {0x054f996bc3b8008eull, 0x7aebc81577b30690ull},
    {0x7c7c05232ea03ff8ull, 0x09bff4095181c082ull}, {0xeed3217e3cfe7fb9ull, 0xe5e739f6f0d4c7c6ull},
    {0x0035f3460a927f8eull, 0x2a2db2fe28976ed8ull}, {0xfee237c1d2b0891bull, 0xb382d7c9f01069abull},
    {0x160a4dc4ec0cbbe0ull, 0xe2527f72d487099dull}, {0x3035cec6de8d276cull, 0xf8a4016f621a16d5ull},
    {0x2056c070cc304aa4ull, 0xe354615dda941884ull}, {0x57e5349d8ff9ac8dull, 0xa0118a8da68ecb9aull}};

std::uint64_t Fnv(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string Bytes(const CByteImage& image) {
    return std::string(reinterpret_cast<const char*>(image.Data()), image.Size());
}

// Kind 0: random bytes; 1: a factory image with up to 40 random bytes; 2: a factory image with
// up to 60 flipped bits in the channel and signalling area.
std::vector<std::uint8_t> MakeImage(int kind, std::mt19937& rng) {
    std::vector<std::uint8_t> image(2048);
    const auto& d = CZ30DefaultDataManager::FactoryBytes(static_cast<int>(rng() % 6));
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = kind == 0 ? static_cast<std::uint8_t>(rng() & 0xFF) : d[i];
    if (kind == 1)
        for (int n = static_cast<int>(rng() % 40); n >= 0; --n)
            image[rng() % 2048] = static_cast<std::uint8_t>(rng() & 0xFF);
    if (kind == 2)
        for (int n = static_cast<int>(rng() % 60); n >= 0; --n)
            image[0x200 + rng() % 0x5D0] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
    return image;
}

// Every leaf of a tree as "path=code text" lines.
void Snapshot(const CNode* node, const std::string& path, std::string* out) {
    for (const CNode* child : node->Children()) {
        const std::string p = path.empty() ? child->GetName() : path + "." + child->GetName();
        if (child->ChildCount() == 0)
            *out += p + "=" + std::to_string(child->GetValue()) + " " + ValueText(*child) + "\n";
        else
            Snapshot(child, p, out);
    }
}

std::string Snapshot(const CCloneSupportDoc& doc) {
    std::string s;
    Snapshot(doc.GetRoot(), "", &s);
    return s;
}

struct DocumentBytes : ::testing::Test {
    void SetUp() override {
        ResetPlatform();
        dir = fs::temp_directory_path() / ("kt-bytes-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        ResetPlatform();
    }
    fs::path dir;
};

} // namespace

TEST_F(DocumentBytes, LoadAndSaveGiveTheRecordedBytes) {
    for (int v = 0; v < 6; ++v) {
        CZ30Doc doc;
        doc.SetRememberVariant(false);
        doc.GetCloneManager()->GetModelManager()->SetVariant(v, true);
        ASSERT_TRUE(doc.SaveFile((dir / "d.hxq").string(), nullptr));
        EXPECT_EQ(Fnv(ReadAll(dir / "d.hxq")), kDefaultFiles[v]) << "defaults of variant " << v;
    }
    std::mt19937 rng(20260611);
    for (std::size_t i = 0; i < std::size(kRandomFiles); ++i) {
        WriteAll(dir / "s.hxq", WholeCloneFileText(MakeImage(static_cast<int>(i % 3), rng)));
        CZ30Doc doc;
        doc.SetRememberVariant(false);
        doc.GetCloneManager()->GetModelManager()->SetVariant(static_cast<int>(rng() % 6), true);
        ASSERT_NO_THROW(doc.LoadFile((dir / "s.hxq").string())) << i;
        EXPECT_EQ(Fnv(Bytes(*doc.GetCloneManager()->GetImage())), kRandomFiles[i].loaded) << i;
        // Codes of all kinds, channels on and off among them: values the image keeps or not.
        for (int n = 0; n < 12; ++n) {
            const char* fields[] = {"ChOn", "FreqRx", "CTonRx", "LockoutP",
                                    "Moni", "2Ton",   "RfPwr",  "ScnLst1"};
            const int ch = 1 + static_cast<int>(rng() % 36);
            CNode* node =
                GetNode(doc.GetRoot(), "Mch.CH" + std::to_string(ch) + "." + fields[rng() % 8]);
            const int code = static_cast<int>(rng() % 1000);
            const int scale = (rng() & 1) ? 1 : 463000;
            if (node) node->SetValue(code * scale);
        }
        ASSERT_TRUE(doc.SaveFile((dir / "o.hxq").string(), nullptr)) << i;
        EXPECT_EQ(Fnv(ReadAll(dir / "o.hxq")), kRandomFiles[i].saved) << i;
    }
}

TEST_F(DocumentBytes, LoadAndSaveNeverWriteIntoTheTree) {
    std::mt19937 rng(7);
    for (int i = 0; i < 30; ++i) {
        WriteAll(dir / "s.hxq", WholeCloneFileText(MakeImage(i % 3, rng)));
        CZ30Doc doc;
        doc.SetRememberVariant(false);
        ASSERT_NO_THROW(doc.LoadFile((dir / "s.hxq").string())) << i;
        // Values the image does not keep, which a fix-up through the document's tree would lose:
        // fields of channels that are off, frequencies off the whole kHz, the other family.
        for (int n = 0; n < 20; ++n) {
            const char* fields[] = {"FreqRx", "FreqTx", "CTonTx", "LockoutL", "Moni", "RPT"};
            const std::string ch = "Mch.CH" + std::to_string(1 + rng() % 36) + ".";
            if (CNode* node = GetNode(doc.GetRoot(), ch + fields[rng() % 6]))
                node->SetValue(static_cast<int>(rng() % 440000001));
        }
        const int variant = doc.GetVariant();
        const std::string before = Snapshot(doc);
        ASSERT_TRUE(doc.SaveFile((dir / "o.hxq").string(), nullptr)) << i;
        EXPECT_EQ(Snapshot(doc), before) << "saving changed the tree, round " << i;

        // The file manager's load with its fix-up, without the document's image to tree.
        CCloneManager* hub = doc.GetCloneManager();
        WriteAll(dir / "t.hxq", WholeCloneFileText(MakeImage(i % 3, rng)));
        EXPECT_EQ(hub->GetCloneFileIoManager()->LoadFromFile((dir / "t.hxq").string(),
                                                             hub->GetModelManager()),
                  kFileOk);
        EXPECT_EQ(Snapshot(doc), before) << "loading changed the tree, round " << i;
        EXPECT_EQ(doc.GetVariant(), variant) << i;
    }
}

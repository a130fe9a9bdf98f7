// C-locale number texts, the port resolver and the modal guard.
#include "core/ctext.h"
#include "core/platform.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {
// Switches to a comma-decimal locale when the machine has one.
struct CommaLocale {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    CommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
            if (std::setlocale(LC_ALL, name)) break;
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved.c_str()); }
};
} // namespace

TEST(CText, ParsesLikePercentLfInTheCLocaleWhateverTheUsersLocale) {
    CommaLocale comma;
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"146.525", true, 146.525},
        {"  \t146.525MHz", true, 146.525},
        {"+5", true, 5},
        {"-46.35", true, -46.35},
        {".5", true, 0.5},
        {"1e3", true, 1000},
        {"", false, 0},
        {"abc", false, 0},
        {"-", false, 0},
        {"+-1", false, 0},
        {"146,525", true, 146.525}, // a decimal comma
        {" -0,5", true, -0.5},
        {"146,525,1", true, 146}, // two commas: the number before the first
        {"1.46,525", true, 1.46}, // comma and point: as it stands
        {"1e-400", true, 0},
        {"-0.0000000001e-320", true, 0},
        {"12e-330", true, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(ParseCDouble(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    double big = 0;
    for (const char* text : {"1e999", "0.01e311", "1234567e305"}) {
        ASSERT_TRUE(ParseCDouble(text, &big));
        EXPECT_TRUE(std::isinf(big)) << text;
    }
    EXPECT_EQ(FormatFixed(146.525, 5), "146.52500");
    EXPECT_EQ(FormatFixed(0.1, 1), "0.1");
    long long n = 0;
    EXPECT_TRUE(ParseCInt(" 42x", &n));
    EXPECT_EQ(n, 42);
    EXPECT_FALSE(ParseCInt("99999999999999999999", &n));
}

TEST(CText, DropsOneTrailingCarriageReturn) {
    std::string a = "58270100\r";
    DropTrailingCr(a);
    EXPECT_EQ(a, "58270100");
    std::string b = "x\r\r";
    DropTrailingCr(b);
    EXPECT_EQ(b, "x\r");
}

TEST(Platform, PortNamesResolveToDevices) {
    ResetPlatform();
    ISettingsStore* s = Platform().settings;
    s->SetString("CommPort", "Device2", "/dev/pts/7");
    const std::pair<const char*, const char*> cases[] = {
#ifndef _WIN32
        {"COM1", "/dev/ttyUSB0"},     {"COM4", "/dev/ttyUSB3"},
        {"COM2", "/dev/pts/7"},       {"COM 2", "/dev/pts/7"},
        {"COM2:", "/dev/pts/7"},      {"COM12", "/dev/ttyUSB11"},
#endif
        {"/dev/ttyS0", "/dev/ttyS0"}, {"COMX", "COMX"},
        {"COM1234", "COM1234"},       {"COM", "COM"},
    };
    for (const auto& [name, device] : cases)
        EXPECT_EQ(ResolvePortName(name, s), device) << name;
#ifndef _WIN32
    EXPECT_EQ(ResolvePortName(2, s), "/dev/pts/7");
    EXPECT_EQ(ResolvePortName(3, nullptr), "/dev/ttyUSB2");
#endif
    s->SetString("CommPort", "Device2", "");
    ResetPlatform();
}

TEST(Platform, ModalGuardAdmitsOneAtATime) {
    ASSERT_FALSE(IsModalActive());
    {
        CModalScope outer;
        EXPECT_TRUE(outer.Entered());
        CModalScope inner;
        EXPECT_FALSE(inner.Entered());
    }
    EXPECT_FALSE(IsModalActive());
    EXPECT_TRUE(TryEnterModal());
    LeaveModal();
}

#include "core/platform.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

namespace {

class CSteadyClock final : public IClock {
public:
    std::uint64_t NowMs() override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepMs(unsigned ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

class CMemorySettings final : public ISettingsStore {
public:
    int GetInt(const std::string& s, const std::string& k, int def) override {
        auto it = m_values.find(s + "/" + k);
        if (it == m_values.end()) return def;
        char* end = nullptr;
        long v = std::strtol(it->second.c_str(), &end, 10);
        return (end && *end == 0 && !it->second.empty()) ? static_cast<int>(v) : def;
    }
    void SetInt(const std::string& s, const std::string& k, int value) override {
        m_values[s + "/" + k] = std::to_string(value);
    }
    std::string GetString(const std::string& s, const std::string& k,
                          const std::string& def) override {
        auto it = m_values.find(s + "/" + k);
        return it == m_values.end() ? def : it->second;
    }
    void SetString(const std::string& s, const std::string& k, const std::string& v) override {
        m_values[s + "/" + k] = v;
    }

private:
    std::map<std::string, std::string> m_values;
};

class CSilentPrompts final : public IUserPrompts {
public:
    KtAnswer MessageBox(const std::string&, const std::string&, KtButtons buttons,
                        KtIcon) override {
        return (buttons == KtButtons::YesNo || buttons == KtButtons::YesNoCancel) ? KtAnswer::Yes
                                                                                  : KtAnswer::Ok;
    }
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

class CSilentBeeper final : public IBeeper {
public:
    void Beep(unsigned, unsigned) override {}
};

CSteadyClock g_clock;
CMemorySettings g_settings;
CSilentPrompts g_prompts;
CSilentBeeper g_beeper;
bool g_modal = false;

CPlatformServices Defaults() {
    CPlatformServices p;
    p.clock = &g_clock;
    p.settings = &g_settings;
    p.prompts = &g_prompts;
    p.beeper = &g_beeper;
    p.portResolver = [](const std::string& name) {
        return ResolvePortName(name, Platform().settings);
    };
    return p;
}

CPlatformServices& Services() {
    static CPlatformServices services = Defaults();
    return services;
}

} // namespace

CPlatformServices& Platform() { return Services(); }

void ResetPlatform() { Services() = Defaults(); }

namespace {
// The port number of "COMn", "COM n" or "COMn:" (up to three digits), else -1.
int ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return -1;
    std::string digits = name.substr(name[3] == ' ' ? 4 : 3);
    if (!digits.empty() && digits.back() == ':') digits.pop_back();
    if (digits.empty() || digits.size() > 3) return -1;
    for (char c : digits)
        if (c < '0' || c > '9') return -1;
    return std::atoi(digits.c_str());
}
} // namespace

std::string ResolvePortName(int portNumber, ISettingsStore* settings) {
#ifdef _WIN32
    (void)settings;
    return "COM" + std::to_string(portNumber);
#else
    if (settings) {
        std::string dev =
            settings->GetString("CommPort", "Device" + std::to_string(portNumber), "");
        if (!dev.empty()) return dev;
    }
    return "/dev/ttyUSB" + std::to_string(portNumber > 0 ? portNumber - 1 : 0);
#endif
}

std::string ResolvePortName(const std::string& name, ISettingsStore* settings) {
    const int n = ComPortNumber(name);
#ifdef _WIN32
    (void)settings;
    return n >= 0 ? "COM" + std::to_string(n) : name;
#else
    return n >= 0 ? ResolvePortName(n, settings) : name;
#endif
}

std::string PortDevice(int portNumber) {
    const std::string name = "COM" + std::to_string(portNumber);
    return Platform().portResolver ? Platform().portResolver(name)
                                   : ResolvePortName(name, Platform().settings);
}

bool TryEnterModal() {
    if (g_modal) return false;
    g_modal = true;
    return true;
}

void LeaveModal() { g_modal = false; }

bool IsModalActive() { return g_modal; }

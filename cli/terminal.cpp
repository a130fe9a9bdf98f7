#include "cli/terminal.h"

#include "core/files.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#define KT_ISATTY _isatty
#define KT_FILENO _fileno
#else
#include <unistd.h>
#define KT_ISATTY ::isatty
#define KT_FILENO ::fileno
#endif

namespace {

std::atomic<bool> g_cancel{false};
bool g_barDrawn = false;

bool IsTerminal(std::FILE* f) { return KT_ISATTY(KT_FILENO(f)) != 0; }

// Message texts use CR LF in places; a terminal wants LF alone.
std::string Plain(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out.push_back(text[i]);
    return out;
}

// Whether a signal asks to cancel (a radio command runs) or ends the program.
std::atomic<bool> g_cancellable{false};

extern "C" void OnSignal(int signal) {
    if (g_cancellable.load() && !g_cancel.exchange(true)) return;
    RemoveTempFilesAndEnd(signal);
}

class CTerminalProgress final : public ITransferProgress {
public:
    CTerminalProgress() : m_draw(IsTerminal(stderr)) { SetPercent(0); }
    ~CTerminalProgress() override { EndProgressLine(); }
    CTerminalProgress(const CTerminalProgress&) = delete;
    CTerminalProgress& operator=(const CTerminalProgress&) = delete;

    void SetPercent(int percent) override {
        if (!m_draw || percent == m_last) return;
        m_last = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '.').c_str(), percent);
        std::fflush(stderr);
        g_barDrawn = true;
    }
    void PumpMessages() override {}
    bool TakeCancelRequest() override { return g_cancel.exchange(false); }

private:
    bool m_draw;
    int m_last = -1;
};

} // namespace

void EndProgressLine() {
    if (!g_barDrawn) return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    g_barDrawn = false;
}

CTerminalPrompts::CTerminalPrompts(bool assumeYes) : m_assumeYes(assumeYes) {
    RemoveStaleTempFiles();
    HandleTerminatingSignals(OnSignal);
}

KtAnswer CTerminalPrompts::MessageBox(const std::string& text, const std::string&,
                                      KtButtons buttons, KtIcon icon) {
    EndProgressLine();
    const std::string body = Plain(text);
    if (buttons == KtButtons::Ok) {
        std::FILE* out =
            (icon == KtIcon::Stop || icon == KtIcon::Exclamation) ? stderr : StatusStream();
        std::fprintf(out, "%s\n", body.c_str());
        std::fflush(out);
        return KtAnswer::Ok;
    }
    const bool okCancel = buttons == KtButtons::OkCancel;
    if (m_assumeYes) {
        // Answered before it is asked: a plain question is not printed, a caution is.
        if (icon != KtIcon::Question) std::fprintf(stderr, "%s\n", body.c_str());
        return okCancel ? KtAnswer::Ok : KtAnswer::Yes;
    }
    std::fprintf(stderr, "%s [y/N] ", body.c_str());
    std::fflush(stderr);
    std::string answer;
    const bool got = static_cast<bool>(std::getline(std::cin, answer));
    // A terminal echoes the answer with its line end; anything else leaves the line open.
    if (!got || !IsTerminal(stdin)) std::fputc('\n', stderr);
    const bool yes = got && (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes");
    if (yes) return okCancel ? KtAnswer::Ok : KtAnswer::Yes;
    if (buttons == KtButtons::YesNo) return KtAnswer::No;
    return KtAnswer::Cancel;
}

void CTerminalPrompts::SetStatusText(const std::string& text) {
    EndProgressLine();
    std::fprintf(StatusStream(), "%s\n", text.c_str());
    std::fflush(StatusStream());
}

namespace {
bool g_statusToStderr = false;
} // namespace

void StatusToStandardError(bool on) { g_statusToStderr = on; }

std::FILE* StatusStream() { return g_statusToStderr ? stderr : stdout; }

void CTerminalBeeper::Beep(unsigned, unsigned) {
    if (!IsTerminal(stderr)) return;
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

void InstallCancelHandler() {
    g_cancellable.store(true);
    HandleTerminatingSignals(OnSignal); // no restart: a question waiting for an answer gives up
}

std::unique_ptr<ITransferProgress> MakeTerminalProgress() {
    return std::make_unique<CTerminalProgress>();
}

bool TakeCancelSignal() { return g_cancel.exchange(false); }

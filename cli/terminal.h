// The platform services of ktz30cli: messages and questions on the terminal, the bell for beeps,
// a progress bar for transfers and Ctrl+C as the cancel request.
#pragma once

#include "core/platform.h"

#include <cstdio>
#include <memory>

class CTerminalPrompts final : public IUserPrompts {
public:
    // With assumeYes every question is answered yes without asking. The run's file care starts
    // here: temporary files a killed run left go, and SIGINT, SIGTERM or SIGHUP removes this
    // run's own before ending it.
    explicit CTerminalPrompts(bool assumeYes);
    KtAnswer MessageBox(const std::string& text, const std::string& caption, KtButtons buttons,
                        KtIcon icon) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    bool m_assumeYes;
};

class CTerminalBeeper final : public IBeeper {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override;
};

// From here on the first SIGINT (Ctrl+C), SIGTERM or SIGHUP asks a running transfer to stop
// (or answers a question with No): the command ends as cancelled, its temporary files removed.
// A second one before the first was taken ends the program at once.
void InstallCancelHandler();
std::unique_ptr<ITransferProgress> MakeTerminalProgress();
// Takes the cancel request of such a signal that came since the last call (for a program that
// waits on others rather than on a transfer).
bool TakeCancelSignal();
// Ends a progress bar line if one is drawn.
void EndProgressLine();
// Where status lines and notices go: standard output, or standard error for a command whose
// standard output is a listing (diff --port).
void StatusToStandardError(bool on);
std::FILE* StatusStream();

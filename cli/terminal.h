// The platform services of ktz30cli: messages and questions on the terminal, the bell for beeps,
// a progress bar for transfers and Ctrl+C as the cancel request.
#pragma once

#include "core/platform.h"

#include <memory>

class CTerminalPrompts final : public IUserPrompts {
public:
    // With assumeYes every question is answered yes without asking.
    explicit CTerminalPrompts(bool assumeYes) : m_assumeYes(assumeYes) {}
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

// Installs the Ctrl+C handler: the first one asks a running transfer to stop, a second one ends
// the program.
void InstallCancelHandler();
std::unique_ptr<ITransferProgress> MakeTerminalProgress();
// Ends a progress bar line if one is drawn.
void EndProgressLine();

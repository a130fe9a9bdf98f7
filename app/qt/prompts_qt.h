// Message boxes, status-bar text and the wait cursor on Qt Widgets.
#pragma once

#include "core/platform.h"

#include <functional>

class QWidget;

class CQtPrompts final : public IUserPrompts {
public:
    // parent: the window the boxes belong to (the main frame), given when it exists.
    void SetParent(QWidget* parent) { m_parent = parent; }
    // Shows the status-bar text; unset, status texts are dropped.
    std::function<void(const std::string&)> statusSink;

    KtAnswer MessageBox(const std::string& text, const std::string& caption, KtButtons buttons,
                        KtIcon icon) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    QWidget* m_parent = nullptr;
};

// A message text as a box shows it: CR LF and lone CR become line feeds.
std::string MessageText(const std::string& text);

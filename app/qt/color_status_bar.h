// The status bar: a stretching prompt pane, the CAP, NUM and SCRL indicators and the mode pane,
// each pane with its own colours. A prompt too long for its pane is cut with "..." and shown
// whole in the pane's tool tip.
#pragma once

#include <QStatusBar>
#include <vector>

class QLabel;

class CColorStatusBar : public QStatusBar {
    Q_OBJECT
public:
    enum Pane { kPrompt = 0, kCaps = 1, kNum = 2, kScroll = 3, kMode = 4, kPaneCount = 5 };
    static constexpr int kModeIndicatorId = 5000;

    explicit CColorStatusBar(QWidget* parent = nullptr);

    // With sizeToText the pane becomes as wide as the text.
    void SetPaneText(int pane, const QString& text, bool sizeToText = false);
    // The whole text, also of a prompt cut to fit.
    QString PaneText(int pane) const;
    void SetPaneColors(int pane, const QColor& text, const QColor& back);
    QColor PaneTextColor(int pane) const;
    QColor PaneBackColor(int pane) const;
    QLabel* PaneLabel(int pane) const;

    // The prompt pane's idle text.
    static QString ReadyText() { return QStringLiteral("Ready"); }

private:
    std::vector<QLabel*> m_panes;
};

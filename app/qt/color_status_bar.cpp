#include "app/qt/color_status_bar.h"

#include <QLabel>
#include <QResizeEvent>

namespace {

// The prompt pane: a text too long for the pane ends in "..." and is told whole in the tool tip.
class CFittingLabel : public QLabel {
public:
    explicit CFittingLabel(QWidget* parent) : QLabel(parent) {
        // Its width follows the bar, never the text.
        setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
    }
    void SetWholeText(const QString& text) {
        m_whole = text;
        Fit();
    }
    const QString& WholeText() const { return m_whole; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Fit();
    }

private:
    void Fit() {
        const QString shown =
            fontMetrics().elidedText(m_whole, Qt::ElideRight, contentsRect().width());
        setText(shown);
        setToolTip(shown == m_whole ? QString() : m_whole);
    }
    QString m_whole;
};

} // namespace

CColorStatusBar::CColorStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    for (int i = 0; i < kPaneCount; ++i) {
        auto* label = i == kPrompt ? new CFittingLabel(this) : new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(3, 0, 3, 0);
        label->setAutoFillBackground(true);
        label->setTextFormat(Qt::PlainText);
        m_panes.push_back(label);
        if (i == kPrompt) {
            label->setMinimumWidth(40);
            addWidget(label, 1);
        } else {
            addPermanentWidget(label);
        }
    }
    const QColor menu = palette().color(QPalette::Button);
    for (int i = kCaps; i < kPaneCount; ++i)
        SetPaneColors(i, Qt::black, menu);
    // The indicators keep the width of their text; they stay blank while the lock is off.
    const char* const indicators[] = {"CAP", "NUM", "SCRL"};
    for (int i = kCaps; i <= kScroll; ++i) {
        const int w = fontMetrics().horizontalAdvance(QString::fromLatin1(indicators[i - 1]));
        m_panes[i]->setFixedWidth(w + 12);
    }
    m_panes[kMode]->setFixedWidth(12);
    SetPaneText(kPrompt, ReadyText());
}

void CColorStatusBar::SetPaneText(int pane, const QString& text, bool sizeToText) {
    if (pane < 0 || pane >= kPaneCount) return;
    QLabel* label = m_panes[pane];
    if (pane == kPrompt)
        static_cast<CFittingLabel*>(label)->SetWholeText(text);
    else
        label->setText(text);
    if (sizeToText) label->setFixedWidth(label->fontMetrics().horizontalAdvance(text) + 12);
    // Status texts change during transfers that do not pump messages: draw now.
    label->repaint();
}

QString CColorStatusBar::PaneText(int pane) const {
    if (pane == kPrompt) return static_cast<CFittingLabel*>(m_panes[pane])->WholeText();
    return (pane >= 0 && pane < kPaneCount) ? m_panes[pane]->text() : QString();
}

void CColorStatusBar::SetPaneColors(int pane, const QColor& text, const QColor& back) {
    if (pane < 0 || pane >= kPaneCount) return;
    QPalette pal = m_panes[pane]->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, back);
    m_panes[pane]->setPalette(pal);
    m_panes[pane]->update();
}

QColor CColorStatusBar::PaneTextColor(int pane) const {
    return m_panes.at(pane)->palette().color(QPalette::WindowText);
}

QColor CColorStatusBar::PaneBackColor(int pane) const {
    return m_panes.at(pane)->palette().color(QPalette::Window);
}

QLabel* CColorStatusBar::PaneLabel(int pane) const {
    return (pane >= 0 && pane < kPaneCount) ? m_panes[pane] : nullptr;
}

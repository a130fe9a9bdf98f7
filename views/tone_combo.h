// The tone entry box of the row editors: an editable list of the CTCSS tones in which a typed
// digital code ("023", "754i") behaves like an entry above the first one.
#pragma once

#include <QComboBox>

class CToneEntryCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kPutBackMs = 40;

    explicit CToneEntryCombo(QWidget* parent = nullptr);

    // The text last typed into the box.
    QString TypedText() const { return m_typed; }
    QStringList Entries() const;
    void hidePopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool IsEntry(const QString& text) const { return findText(text, Qt::MatchExactly) >= 0; }
    // Puts the typed text back into the box after the list's own processing is over.
    void PutBackLater();

    QString m_typed;
    bool m_chosen = false;
};

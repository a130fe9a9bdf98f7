// A caption pane: one line of white bold text on grey, as tall as the pane.
#pragma once

#include <QWidget>

class CMessageView : public QWidget {
    Q_OBJECT
public:
    explicit CMessageView(QWidget* parent = nullptr);

    void SetPrefix(const QString& text);
    void SetText(const QString& text);
    void SetSuffix(const QString& text);
    QString Prefix() const { return m_prefix; }
    QString Text() const { return m_text; }
    QString Suffix() const { return m_suffix; }
    QString Caption() const { return m_prefix + m_text + m_suffix; }

    QSize sizeHint() const override { return {100, 20}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_prefix;
    QString m_text;
    QString m_suffix;
    QColor m_textColor{255, 255, 255};
    QColor m_backColor{128, 128, 128};
};

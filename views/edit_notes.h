// What became of the values of the last edits. The status bar shows the latest edit's outcome:
// the next edit's outcome replaces it, a clean edit clears it, and it clears by itself after a
// few seconds. Every adjusted or refused value of the recent edits stays listed for Edit > "Last
// Edit Notes...", so that nothing shown only briefly is lost.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QTimer;
class QWidget;
struct CEditStep;

class CEditNotes {
public:
    static constexpr int kShowMs = 8000; // how long an edit's message stays
    static constexpr std::size_t kKeptEdits = 20;

    static CEditNotes& Instance();

    // An edit ran (RunEdit): the message of an earlier edit goes; what this one adjusted or
    // refused is listed, named by paths until the window tells it in its own words.
    void EditRan(const CEditStep& step);
    // The window's line for the edit that ran last (empty: every value stored as given).
    void Tell(const QString& text);
    // The notes of the recent edits, the latest last.
    QStringList Notes() const;
    void Clear();

    // What the status bar shows now (set by the application; null: the message is taken to be
    // the one last shown) and how long a message stays.
    std::function<QString()> statusNow;
    int showMs = kShowMs;

private:
    CEditNotes() = default;
    void Show(const QString& text);
    void Withdraw(); // the edit message back to "Ready", if it still shows

    struct CNote {
        unsigned edit;
        QString text;
    };
    std::deque<CNote> m_notes;
    unsigned m_edits = 0;
    QString m_shown; // the edit message on the status bar; empty: none
    QTimer* m_timer = nullptr;
};

// Edit > "Last Edit Notes...": the list, or a line saying there is nothing to list.
void ShowLastEditNotes(QWidget* parent);

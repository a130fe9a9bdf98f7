// File > "Compare with File..." and Clone > "Compare with Radio...": the open document against
// another image in the differences window.
#pragma once

#include "views/command_target.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CDifferencesWnd;
class CZ30Doc;
class CZ30MainFrame;

class CCompareCommands final : public ICommandTarget {
public:
    CCompareCommands(CZ30Doc& doc, CZ30MainFrame* frame);
    ~CCompareCommands() override;

    // The file's image against the document; a file that does not load is told.
    void CompareWithFile(const QString& path);
    // Reads the radio as Clone > Read does, into a document of its own (the open one stays as
    // it is), then compares; the status bar says "Equal to the radio" or the count.
    void CompareWithRadio();
    // The window open now, null when none is.
    CDifferencesWnd* Window() const;

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

    // The file dialog; tests replace it.
    std::function<QString()> askComparePath;

private:
    void Open(std::vector<std::uint8_t> other, const QString& name);

    CZ30Doc& m_doc;
    CZ30MainFrame* m_frame;
    QPointer<CDifferencesWnd> m_window;
};

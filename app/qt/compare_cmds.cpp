#include "app/qt/compare_cmds.h"

#include "app/clone_support_doc.h"
#include "app/qt/differences_wnd.h"
#include "app/qt/main_frame.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/model_info.h"
#include "core/platform.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

// The memory sheets, LMR and PMR.
constexpr int kMchSheets[] = {1, 2};

} // namespace

CCompareCommands::CCompareCommands(CZ30Doc& doc, CZ30MainFrame* frame)
    : m_doc(doc), m_frame(frame) {
    askComparePath = [this] {
        return QFileDialog::getOpenFileName(
            m_frame, QStringLiteral("Compare with File"), QString(),
            QStringLiteral("Clone Data Files (*.hxq *.HXQ);;All Files (*)"));
    };
}

CCompareCommands::~CCompareCommands() { delete m_window; }

CDifferencesWnd* CCompareCommands::Window() const { return m_window; }

void CCompareCommands::Open(std::vector<std::uint8_t> other, const QString& name) {
    delete m_window;
    m_window = new CDifferencesWnd(m_doc, std::move(other), name, m_frame);
    CZ30MainFrame* frame = m_frame;
    m_window->showChannel = [frame](int channel) {
        frame->ShowSheet(kMchSheets[IsPmrVariant(frame->Document().GetVariant()) ? 1 : 0]);
        if (auto* sheet = dynamic_cast<CListSheet*>(frame->Sheets()->CurrentSheet()))
            sheet->SelectRow(channel - 1);
        frame->activateWindow();
    };
    m_window->markCells = [frame](std::function<QString(int channel, int column)> markOf) {
        for (int index : kMchSheets) {
            auto* sheet = dynamic_cast<CListSheet*>(frame->Sheets()->Sheet(index));
            if (!sheet) continue;
            if (!markOf) {
                sheet->Model()->SetCellMarks(nullptr);
                continue;
            }
            sheet->Model()->SetCellMarks([sheet, markOf](int row, int column) {
                return markOf(sheet->ChannelOfRow(row), column);
            });
        }
    };
    m_window->Refresh();
    m_window->show();
}

void CCompareCommands::CompareWithFile(const QString& path) {
    if (path.isEmpty()) return;
    CZ30Doc other;
    other.SetRememberVariant(false);
    try {
        other.LoadFileOverDefaults(path.toStdString());
    } catch (const CArchiveFormatError& e) {
        Platform().prompts->MessageBox(std::string(e.what()) + "\n" + path.toStdString() +
                                           (e.Reason().empty() ? "" : "\n" + e.Reason()),
                                       "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
        return;
    }
    Open(other.ImageBytes(), QFileInfo(path).fileName());
}

void CCompareCommands::CompareWithRadio() {
    CZ30Doc radio;
    radio.SetRememberVariant(false);
    CCloneRsIoManager* mine = m_doc.GetCloneManager()->GetCloneRsIoManager();
    CCloneRsIoManager* io = radio.GetCloneManager()->GetCloneRsIoManager();
    if (!mine || !io) return;
    // As the document's own read: its port, backups and serial trace.
    io->SetPortName(mine->PortName());
    io->SetBackupFolder(mine->BackupFolder());
    io->SetBackups(mine->Backups());
    io->Engine().SetFrameObserver(mine->Engine().FrameObserver());
    if (radio.OnCloneRead() != kCloneOk) return; // the read told why
    Open(radio.ImageBytes(), QStringLiteral("the radio"));
    const auto n = m_window->Differences().size();
    Platform().prompts->SetStatusText(n == 0 ? " Equal to the radio."
                                             : " " + std::to_string(n) +
                                                   (n == 1 ? " difference" : " differences") +
                                                   " to the radio.");
}

bool CCompareCommands::OnCmdMsg(int id) {
    if (id == cmd::kCompareFile) {
        QString path;
        {
            CModalScope guard;
            if (!guard.Entered()) return true;
            path = askComparePath();
        }
        CompareWithFile(path);
        return true;
    }
    if (id == cmd::kCompareRadio) {
        CompareWithRadio();
        return true;
    }
    return false;
}

bool CCompareCommands::OnUpdateCmdUI(int id, CCmdUI&) {
    return id == cmd::kCompareFile || id == cmd::kCompareRadio;
}

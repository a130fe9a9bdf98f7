// Clone > "Write to Several Radios...": the document written to radios on several ports at once,
// or radio after radio on one port, each radio with its own values from a plan file or a
// numbered value; a row per radio with its progress and result, and the delivery report. The
// document in the window is never changed: the radios get a copy of it.
#pragma once

#include "app/fleet.h"
#include "app/fleet_plan.h"

#include <QDialog>
#include <QTemporaryDir>

#include <map>
#include <memory>

class CFleetProcessRunner;
class CZ30Doc;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

class CFleetDlg : public QDialog {
    Q_OBJECT
public:
    // program: the ktz30cli that runs each radio's transfer.
    CFleetDlg(CZ30Doc& doc, QString program, QWidget* parent = nullptr);
    ~CFleetDlg() override;

    // For tests and the window's own use: a device path added to the port list, checked.
    void AddPort(const QString& device, bool checked = true);
    const CFleetEngine* Engine() const { return m_engine.get(); }
    QString Summary() const;
    // The delivery report as CSV, or as a PDF for a name ending in ".pdf"; false with the reason.
    bool WriteReport(const QString& path, QString* error);

public slots:
    void Start();
    void NextRadio();
    void CancelOne();
    void CancelAll();
    void SaveReport();

    // Closing stops nothing halfway: while radios are written, it only says to cancel first.
    void reject() override;

private:
    bool PrepareJobs(std::vector<CFleetJob>& jobs, std::string* error);
    void ShowRow(std::size_t i);
    void ShowState();
    void ReadFinished();
    bool Running() const;

    CZ30Doc& m_doc;
    QString m_program;
    QListWidget* m_ports;
    QLineEdit* m_addPort;
    QRadioButton* m_several;
    QRadioButton* m_sequence;
    QSpinBox* m_count;
    QRadioButton* m_fileValues;
    QRadioButton* m_planValues;
    QRadioButton* m_numberValues;
    QLineEdit* m_plan;
    QLineEdit* m_numberPath;
    QLineEdit* m_numberStart;
    QPushButton* m_start;
    QPushButton* m_next;
    QPushButton* m_cancelOne;
    QPushButton* m_cancelAll;
    QPushButton* m_save;
    QTableWidget* m_table;
    QLabel* m_summary;

    QTemporaryDir m_folder;
    std::string m_file;    // the document as the radios get it
    std::string m_comment; // the document's comment, for the printed report's heading
    CFleetPlan m_planRows;
    std::unique_ptr<CFleetEngine> m_engine, m_reads;
    std::unique_ptr<CFleetProcessRunner> m_runner, m_reader;
    // Radio after radio: the next radio's job, and the fingerprints of those written.
    std::size_t m_nextJob = 0;
    std::map<std::string, int> m_done;
};

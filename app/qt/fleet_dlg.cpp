#include "app/qt/fleet_dlg.h"

#include "app/clone_support_doc.h"
#include "app/fleet_report.h"
#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "clone/clone_rs_io_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "platform/fleet_process.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <fstream>
#include <vector>

namespace {

enum Column { kRadio, kPort, kValues, kProgress, kResult, kTime, kColumns };

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString ValuesText(const CFleetJob& job) {
    QStringList list;
    for (const auto& [path, value] : job.values)
        list << Q(path + "=" + value);
    return list.isEmpty() ? QStringLiteral("the document's values")
                          : list.join(QStringLiteral(", "));
}

QString PhaseWord(FleetPhase phase) {
    switch (phase) {
    case FleetPhase::Reading:
        return QStringLiteral("reading");
    case FleetPhase::Writing:
        return QStringLiteral("writing");
    case FleetPhase::Verifying:
        return QStringLiteral("verifying");
    default:
        return {};
    }
}

// The COM number a device is assigned to, as the port list shows it: " (COM2)".
QString ComOf(const QString& device) {
    QString coms;
    for (int n = 1; n <= 4; ++n)
        if (Q(PortDevice(n)) == device) coms += QStringLiteral(" (COM%1)").arg(n);
    return coms;
}

} // namespace

CFleetDlg::CFleetDlg(CZ30Doc& doc, QString program, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_program(std::move(program)) {
    setWindowTitle(QStringLiteral("Write to Several Radios"));
    m_ports = new QListWidget(this);
    m_ports->setMaximumHeight(110);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        AddPort(info.systemLocation(), false);
        QListWidgetItem* item = m_ports->item(m_ports->count() - 1);
        if (!info.description().isEmpty())
            item->setText(item->text() + QStringLiteral("  ") + info.description());
    }
    m_addPort = new QLineEdit(this);
    m_addPort->setPlaceholderText(QStringLiteral("another device, for example /dev/pts/3"));
    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    connect(add, &QPushButton::clicked, this, [this] {
        if (!m_addPort->text().trimmed().isEmpty()) AddPort(m_addPort->text().trimmed());
        m_addPort->clear();
    });
    m_several = new QRadioButton(QStringLiteral("The checked ports, all at &once"), this);
    m_sequence =
        new QRadioButton(QStringLiteral("The first checked port, radio after &radio:"), this);
    m_several->setChecked(true);
    m_count = new QSpinBox(this);
    m_count->setRange(1, 10000);
    m_count->setValue(3);
    m_count->setSuffix(QStringLiteral(" radios"));

    m_fileValues = new QRadioButton(QStringLiteral("The &document's values"), this);
    m_planValues = new QRadioButton(QStringLiteral("A &plan file:"), this);
    m_numberValues = new QRadioButton(QStringLiteral("A &numbered value:"), this);
    m_fileValues->setChecked(true);
    // Two choices, each its own group of buttons.
    for (const auto& pair :
         {std::vector<QRadioButton*>{m_several, m_sequence},
          std::vector<QRadioButton*>{m_fileValues, m_planValues, m_numberValues}}) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* b : pair)
            group->addButton(b);
    }
    m_several->setChecked(true);
    m_plan = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Plan"), {}, QStringLiteral("CSV Files (*.csv);;All Files (*)"));
        if (!path.isEmpty()) {
            m_plan->setText(path);
            m_planValues->setChecked(true);
        }
    });
    m_numberPath = new QLineEdit(QStringLiteral("5ToneCodeCH.TXCodeCH.CH1.TxCode"), this);
    m_numberStart = new QLineEdit(QStringLiteral("00101"), this);
    m_numberStart->setMaximumWidth(90);

    auto* ports = new QGroupBox(QStringLiteral("Radios"), this);
    auto* portsLayout = new QVBoxLayout(ports);
    portsLayout->addWidget(m_ports);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(m_addPort);
    addRow->addWidget(add);
    portsLayout->addLayout(addRow);
    portsLayout->addWidget(m_several);
    auto* sequenceRow = new QHBoxLayout;
    sequenceRow->addWidget(m_sequence);
    sequenceRow->addWidget(m_count);
    sequenceRow->addStretch();
    portsLayout->addLayout(sequenceRow);

    auto* values = new QGroupBox(QStringLiteral("Each radio's values"), this);
    auto* valuesLayout = new QFormLayout(values);
    valuesLayout->addRow(m_fileValues);
    auto* planRow = new QHBoxLayout;
    planRow->addWidget(m_plan);
    planRow->addWidget(browse);
    valuesLayout->addRow(m_planValues, planRow);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_numberPath);
    numberRow->addWidget(new QLabel(QStringLiteral("from"), this));
    numberRow->addWidget(m_numberStart);
    valuesLayout->addRow(m_numberValues, numberRow);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Radio"), QStringLiteral("Port"),
                                        QStringLiteral("Values"), QStringLiteral("Progress"),
                                        QStringLiteral("Result"), QStringLiteral("Time")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setSectionResizeMode(kValues, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(kResult, QHeaderView::Stretch);
    m_table->setMinimumHeight(160);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));

    m_start = new QPushButton(QStringLiteral("&Start"), this);
    m_next = new QPushButton(QStringLiteral("Ne&xt Radio"), this);
    m_cancelOne = new QPushButton(QStringLiteral("&Cancel Radio"), this);
    m_cancelAll = new QPushButton(QStringLiteral("Cancel &All"), this);
    m_save = new QPushButton(QStringLiteral("Save &Report..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(m_start, &QPushButton::clicked, this, &CFleetDlg::Start);
    connect(m_next, &QPushButton::clicked, this, &CFleetDlg::NextRadio);
    connect(m_cancelOne, &QPushButton::clicked, this, &CFleetDlg::CancelOne);
    connect(m_cancelAll, &QPushButton::clicked, this, &CFleetDlg::CancelAll);
    connect(m_save, &QPushButton::clicked, this, &CFleetDlg::SaveReport);
    connect(close, &QPushButton::clicked, this, &CFleetDlg::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_start, m_next, m_cancelOne, m_cancelAll, m_save})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(ports, 1);
    top->addWidget(values, 1);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
    resize(860, 520);
    ShowState();
}

CFleetDlg::~CFleetDlg() {
    // The runners end what still runs before the engines go.
    m_runner.reset();
    m_reader.reset();
}

void CFleetDlg::AddPort(const QString& device, bool checked) {
    auto* item = new QListWidgetItem(device + ComOf(device), m_ports);
    item->setData(Qt::UserRole, device);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool CFleetDlg::Running() const {
    if (m_reads && !m_reads->AllFinished()) return true;
    if (!m_engine) return false;
    for (std::size_t i = 0; i < m_engine->Count(); ++i) {
        const CFleetStatus& s = m_engine->Status(i);
        if (!s.finished && s.phase != FleetPhase::NotStarted) return true;
    }
    return false;
}

bool CFleetDlg::PrepareJobs(std::vector<CFleetJob>& jobs, std::string* error) {
    QStringList ports;
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->checkState() == Qt::Checked)
            ports << m_ports->item(i)->data(Qt::UserRole).toString();
    if (ports.isEmpty()) {
        *error = "Check the port of each radio.";
        return false;
    }
    const bool sequence = m_sequence->isChecked();
    const int count = sequence ? m_count->value() : static_cast<int>(ports.size());
    for (int i = 0; i < count; ++i) {
        CFleetJob job;
        job.number = i + 1;
        job.port = (sequence ? ports.front() : ports[i]).toStdString();
        jobs.push_back(job);
    }
    // The radios get the document as a file of the whole image; the document stays as it is.
    CCloneManagerTemplate* hub = m_doc.GetCloneManager();
    CCloneFileIoManager* fileIo = hub->GetCloneFileIoManager();
    const std::string text = fileIo && hub->GetImage()
                                 ? fileIo->WholeImageText(*hub->GetImage(), hub->GetModelManager())
                                 : std::string();
    m_file = (m_folder.path() + QStringLiteral("/document.hxq")).toStdString();
    if (text.empty() || !(std::ofstream(m_file, std::ios::binary) << text)) {
        *error = "The document could not be written for the radios.";
        return false;
    }
    for (CFleetJob& job : jobs)
        job.image = m_file;
    m_comment = GetStringByName(GetNode(m_doc.GetRoot(), "CommonSet.Common1"), "Comment1");
    m_planRows = {};
    if (m_planValues->isChecked() &&
        !LoadFleetPlan(m_plan->text().toStdString(), &m_planRows, error)) {
        *error = m_plan->text().toStdString() + ": " + *error;
        return false;
    }
    if (m_numberValues->isChecked() &&
        !NumberedPlan({(m_numberPath->text() + "=" + m_numberStart->text()).toStdString()},
                      jobs.size(), &m_planRows, error))
        return false;
    std::vector<std::string> adjusted;
    if (!PrepareFleetImages(
            m_file, m_planRows, jobs, m_folder.path().toStdString(),
            [](const std::string& p) { return p.size() == 1 ? PortDevice(p[0] - '0') : p; },
            &adjusted, error))
        return false;
    if (adjusted.empty()) return true;
    QString list;
    for (const std::string& line : adjusted)
        list += Q(line) + QStringLiteral("\n");
    return QMessageBox::question(this, QStringLiteral("KT-Z30"),
                                 QStringLiteral("These values are stored in another form:\n\n") +
                                     list + QStringLiteral("\nWrite the radios?")) ==
           QMessageBox::Yes;
}

void CFleetDlg::Start() {
    if (Running()) return;
    std::vector<CFleetJob> jobs;
    std::string error;
    if (!PrepareJobs(jobs, &error)) {
        if (!error.empty())
            QMessageBox::warning(this, QStringLiteral("KT-Z30"),
                                 Q(error) + QStringLiteral("\n\nNo radio was written."));
        return;
    }
    m_runner.reset();
    m_reader.reset();
    m_engine = std::make_unique<CFleetEngine>("write", jobs);
    m_reads = std::make_unique<CFleetEngine>("read", std::vector<CFleetJob>{});
    const bool sequence = m_sequence->isChecked();
    m_runner = std::make_unique<CFleetProcessRunner>(
        *m_engine, m_program, [this, sequence](std::size_t i) {
            const CFleetJob& job = m_engine->Job(i);
            QStringList list = {QStringLiteral("write"), Q(job.image), QStringLiteral("--yes"),
                                QStringLiteral("--port"), Q(job.port)};
            // The read before each write of a sequence keeps what the radio held.
            if (sequence) list << QStringLiteral("--no-backup");
            return list;
        });
    m_reader = std::make_unique<CFleetProcessRunner>(*m_reads, m_program, [this](std::size_t i) {
        const CFleetJob& job = m_reads->Job(i);
        return QStringList{QStringLiteral("read"), QStringLiteral("--port"), Q(job.port),
                           QStringLiteral("-o"), Q(job.image)};
    });
    m_table->setRowCount(static_cast<int>(jobs.size()));
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        auto* bar = new QProgressBar(m_table);
        bar->setRange(0, 100);
        m_table->setCellWidget(static_cast<int>(i), kProgress, bar);
        ShowRow(i);
    }
    m_engine->onChange = [this, sequence](std::size_t i) {
        ShowRow(i);
        if (sequence && i == m_nextJob && m_engine->Status(i).finished &&
            m_engine->Status(i).phase == FleetPhase::Done && m_engine->Status(i).code == 0) {
            m_done[m_engine->Status(i).fingerprint] = m_engine->Job(i).number;
            ++m_nextJob;
        }
        ShowState();
    };
    m_reads->onChange = [this](std::size_t i) {
        if (m_reads->Status(i).finished) ReadFinished();
    };
    m_nextJob = 0;
    m_done.clear();
    if (!sequence) m_engine->Start(*m_runner);
    ShowState();
}

void CFleetDlg::NextRadio() {
    if (!m_engine || Running() || m_nextJob >= m_engine->Count()) return;
    CFleetJob held = m_engine->Job(m_nextJob);
    held.image =
        (m_folder.path() + QStringLiteral("/held-%1.hxq").arg(m_reads->Count() + 1)).toStdString();
    held.values.clear();
    const std::size_t r = m_reads->Add(held);
    m_reads->StartOne(*m_reader, r);
    ShowState();
}

void CFleetDlg::ReadFinished() {
    const CFleetStatus& held = m_reads->Status(m_reads->Count() - 1);
    const CFleetJob& job = m_engine->Job(m_nextJob);
    if (held.code != 0) {
        ShowState();
        m_summary->setText(QStringLiteral("Radio %1 could not be read (%2). Connect it, then Next "
                                          "Radio.")
                               .arg(job.number)
                               .arg(Q(held.text)));
        return;
    }
    if (const auto again = m_done.find(held.fingerprint); again != m_done.end()) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("KT-Z30"),
            QStringLiteral("The radio on the cable is radio %1 (fingerprint %2), written already "
                           "in this run.\nWrite it again as radio %3?")
                .arg(again->second)
                .arg(Q(held.fingerprint))
                .arg(job.number));
        if (answer != QMessageBox::Yes) {
            ShowState();
            m_summary->setText(QStringLiteral("Radio %1 left as it is. Connect radio %2, then "
                                              "Next Radio.")
                                   .arg(again->second)
                                   .arg(job.number));
            return;
        }
    }
    const std::size_t k = m_nextJob;
    m_engine->StartOne(*m_runner, k);
    m_engine->Line(k, std::string(kFleetLineTag) + "backup " + held.backup);
    m_engine->Line(k, std::string(kFleetLineTag) + "fingerprint " + held.fingerprint);
}

void CFleetDlg::ShowRow(std::size_t i) {
    const CFleetJob& job = m_engine->Job(i);
    const CFleetStatus& s = m_engine->Status(i);
    const int row = static_cast<int>(i);
    const auto set = [&](int column, const QString& text) {
        QTableWidgetItem* item = m_table->item(row, column);
        if (!item) m_table->setItem(row, column, item = new QTableWidgetItem);
        item->setText(text);
    };
    set(kRadio, QString::number(job.number));
    set(kPort, Q(FleetPortLabel(job.port)));
    set(kValues, ValuesText(job));
    if (auto* bar = qobject_cast<QProgressBar*>(m_table->cellWidget(row, kProgress))) {
        bar->setValue(s.percent);
        const QString phase =
            s.finished ? (s.code == 0 ? QStringLiteral("done") : QStringLiteral("failed"))
                       : PhaseWord(s.phase);
        bar->setFormat(phase.isEmpty() ? QStringLiteral("%p%") : QStringLiteral("%p% ") + phase);
    }
    set(kResult, s.finished ? Q(s.text) : QString());
    set(kTime, s.finished && s.startTime ? QString::number(s.Seconds(), 'f', 1) + " s" : QString());
}

QString CFleetDlg::Summary() const {
    if (!m_engine) return {};
    int done = 0, failed = 0, waiting = 0;
    for (std::size_t i = 0; i < m_engine->Count(); ++i) {
        const CFleetStatus& s = m_engine->Status(i);
        if (!s.finished)
            waiting += s.phase == FleetPhase::NotStarted;
        else if (s.code == 0)
            ++done;
        else if (s.startTime)
            ++failed;
        else
            ++waiting;
    }
    return QStringLiteral("Done %1, failed %2, not started %3").arg(done).arg(failed).arg(waiting);
}

void CFleetDlg::ShowState() {
    const bool running = Running();
    const bool sequence = m_engine && m_sequence->isChecked();
    const bool more = sequence && m_nextJob < m_engine->Count();
    m_start->setEnabled(!running && !more);
    m_next->setEnabled(!running && more);
    m_next->setVisible(m_sequence->isChecked());
    m_cancelOne->setEnabled(running);
    m_cancelAll->setEnabled(running || more);
    m_save->setEnabled(m_engine && !running);
    if (!m_engine) {
        m_summary->setText(QStringLiteral("Check the radios' ports, then Start."));
        return;
    }
    QString text = Summary();
    if (more && !running)
        text += QStringLiteral(". Connect radio %1 (%2), then Next Radio.")
                    .arg(m_engine->Job(m_nextJob).number)
                    .arg(ValuesText(m_engine->Job(m_nextJob)));
    m_summary->setText(text);
}

void CFleetDlg::CancelOne() {
    if (!m_engine) return;
    const int row = m_table->currentRow();
    if (row >= 0) m_engine->Cancel(static_cast<std::size_t>(row));
}

void CFleetDlg::CancelAll() {
    if (m_reads) m_reads->CancelAll();
    if (!m_engine) return;
    m_engine->CancelAll();
    if (m_sequence->isChecked()) {
        for (std::size_t i = m_nextJob; i < m_engine->Count(); ++i)
            m_engine->Skip(i, kCloneCancelled, "not started");
        m_nextJob = m_engine->Count();
    }
    ShowState();
}

bool CFleetDlg::WriteReport(const QString& path, QString* error) {
    if (!m_engine) return false;
    const std::vector<std::string> columns = PlanColumns(m_planRows);
    std::string why;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        const std::string name = m_doc.GetPathName().empty() ? "(untitled)" : m_doc.GetPathName();
        if (WriteFleetReportPdf(path.toStdString(), *m_engine, columns, name, m_comment, &why))
            return true;
    } else {
        std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
        out << FleetReportCsv(*m_engine, columns);
        out.flush();
        if (out) return true;
        why = "it could not be written";
    }
    *error = Q(why);
    return false;
}

void CFleetDlg::SaveReport() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Report"), QStringLiteral("delivery.csv"),
        QStringLiteral("CSV Files (*.csv);;PDF Files (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!WriteReport(path, &error))
        QMessageBox::warning(
            this, QStringLiteral("KT-Z30"),
            QStringLiteral("The report could not be saved:\n%1\n%2").arg(path, error));
}

void CFleetDlg::reject() {
    if (Running()) {
        m_summary->setText(Summary() + QStringLiteral(". Radios are being written: Cancel All "
                                                      "first."));
        return;
    }
    QDialog::reject();
}

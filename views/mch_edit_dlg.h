// "Edit Memory CH": the row editor of the memory channel sheets, for one channel of an LMR or a
// PMR radio. The controls show the channel; OK hands what they hold to onApply.
#pragma once

#include "sheets/channel_entry.h"

#include <QDialog>
#include <functional>
#include <vector>

class CNode;
class CToneEntryCombo;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLineEdit;

class CZ30MchEditDlg : public QDialog {
    Q_OBJECT
public:
    CZ30MchEditDlg(CNode* root, int channel, bool pmr, QWidget* parent = nullptr);

    // Stores an entry; false keeps the dialog open. Unset, OK just closes.
    std::function<bool(const CChannelEntry&)> onApply;
    // What the controls hold now.
    CChannelEntry Entry() const;

    QLineEdit* RxFreq() const { return m_rxFreq; }
    QLineEdit* TxFreq() const { return m_txFreq; }
    QCheckBox* FreqSimplex() const { return m_freqSimplex; }
    CToneEntryCombo* RxTone() const { return m_rxTone; }
    CToneEntryCombo* TxTone() const { return m_txTone; }
    QCheckBox* ToneSimplex() const { return m_toneSimplex; }
    QDialogButtonBox* Buttons() const { return m_buttons; }
    // The check box or list of a channel field ("TOT", "RfPwr"), null when the editor has none.
    QWidget* FieldControl(const char* node) const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct CCheckField {
        const char* label;
        const char* node;
    };
    struct CListField {
        const char* label;
        const char* node;
        int first; // texts of first..last; first > last: the node's choices
        int last;
    };

    QWidget* BuildFrequencyGroup();
    QWidget* BuildToneGroup();
    QWidget* BuildFiveToneGroup();
    QCheckBox* AddCheck(const CCheckField& field, QWidget* parent);
    // A list in the form, with a control beside it when given.
    QComboBox* AddList(const CListField& field, QFormLayout* form, QWidget* beside = nullptr);
    void Follow(QWidget* control);
    void UpdateEnabling();

    CNode* m_channel;
    bool m_pmr;
    QLineEdit* m_rxFreq = nullptr;
    QLineEdit* m_txFreq = nullptr;
    QCheckBox* m_freqSimplex = nullptr;
    QCheckBox* m_inhCh = nullptr;
    QCheckBox* m_inhTx = nullptr;
    CToneEntryCombo* m_rxTone = nullptr;
    CToneEntryCombo* m_txTone = nullptr;
    QCheckBox* m_toneSimplex = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::vector<std::pair<const char*, QCheckBox*>> m_checks;
    std::vector<std::pair<const char*, QComboBox*>> m_lists;
    // Every control but the receive frequency (with the labels), enabled only with a receive
    // frequency.
    std::vector<QWidget*> m_dependents;
};

// What the window checks before a write: channels that would transmit on 0 MHz are named and the
// user decides.
#include "app_fixture.h"

#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "views/command_ids.h"

namespace {

class WriteChecksTest : public SheetAppTest {};

} // namespace

TEST_F(WriteChecksTest, ChannelsWithoutTxAreNamedBeforeAWrite) {
    struct Case {
        int inhTx;
        QMessageBox::StandardButton answer; // to the question about them, when asked
        QStringList titles;                 // the windows that came up
    };
    const QString question =
        "KT-Z30|CH 3 transmits on 0 MHz (on, not TX-inhibited, no TX frequency).\n\nWrite to the "
        "transceiver all the same?";
    const QString write = QStringLiteral("KT-Z30|   Write to transceiver     ");
    const Case cases[] = {
        {0, QMessageBox::No, {question}},
        {0, QMessageBox::Yes, {question, write}},
        {1, QMessageBox::No, {write}}, // TX inhibited: nothing to ask
    };
    CZ30MainFrame& frame = StartWith(5);
    for (const Case& c : cases) {
        app->Document().Edit("TX 0", [&c](CNode& root, CEditReport&) {
            CNode* ch = ChannelNode(&root, 3);
            SetValueByName(ch, "ChOn", 1);
            SetValueByName(ch, "FreqRx", 446031250);
            SetValueByName(ch, "FreqTx", 0);
            SetValueByName(ch, "InhTx", c.inhTx);
        });
        ModalHand hand;
        hand.handler = [&c](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->text().contains("0 MHz")) ModalHand::Click(w, c.answer);
            if (box && box->text().contains("Write to transceiver"))
                ModalHand::Click(w, QMessageBox::Cancel);
            return box != nullptr;
        };
        frame.RouteCommand(cmd::kCloneWrite);
        EXPECT_EQ(hand.seen, c.titles) << c.inhTx << c.answer;
    }
    app->Document().SetModifiedFlag(false);
    Close();
}

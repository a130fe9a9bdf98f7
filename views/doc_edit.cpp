#include "views/doc_edit.h"

#include "params/node.h"

#include <QStringList>
#include <QUndoCommand>
#include <QUndoStack>

#include <memory>
#include <utility>

namespace {

// One edit as the undo stack keeps it. The edit has already happened when it is pushed, so the
// first redo does nothing.
class CImageEditCommand : public QUndoCommand {
public:
    CImageEditCommand(CCloneSupportDoc& doc, const QString& label, CEditStep step)
        : QUndoCommand(label), m_doc(doc), m_step(std::move(step)) {}
    void undo() override { m_doc.RestoreImage(m_step.before, CChangeReason::UndoRedo); }
    void redo() override {
        if (m_pushed) m_doc.RestoreImage(m_step.after, CChangeReason::UndoRedo);
        m_pushed = true;
    }

private:
    CCloneSupportDoc& m_doc;
    CEditStep m_step;
    bool m_pushed = false;
};

// The undo stack the window keeps with a document.
struct CDocUndo {
    QUndoStack stack;
};

} // namespace

QUndoStack* UndoStackOf(CCloneSupportDoc& doc) {
    if (auto* undo = static_cast<CDocUndo*>(doc.ViewData())) return &undo->stack;
    auto undo = std::make_shared<CDocUndo>();
    QUndoStack* stack = &undo->stack;
    doc.SetViewData(undo);
    // A new image from outside (new, open, read, model change) starts a new history, whose
    // clean state is that image.
    doc.Subscribe([stack](const CChangeNotice& notice) {
        switch (notice.reason) {
        case CChangeReason::Load:
        case CChangeReason::Read:
        case CChangeReason::ModelChange:
        case CChangeReason::New:
            stack->clear();
            break;
        case CChangeReason::Edit:
        case CChangeReason::UndoRedo:
            break;
        }
    });
    // Back at the state last saved or read: the document is no longer modified.
    QObject::connect(stack, &QUndoStack::indexChanged, stack, [stack, &doc](int) {
        if (stack->isClean()) doc.SetModifiedFlag(false);
    });
    return stack;
}

CEditStep RunEdit(CCloneSupportDoc& doc, const QString& label, const CEditChange& change,
                  const std::string& changedPath) {
    CEditStep step = doc.Edit(label.toStdString(), change, changedPath);
    if (step.Changed()) UndoStackOf(doc)->push(new CImageEditCommand(doc, label, step));
    return step;
}

QString EditOutcomeText(const CEditStep& step) {
    QStringList adjusted, refused;
    for (const CEditOutcome& o : step.outcomes) {
        const QString path = QString::fromStdString(o.path);
        switch (o.result.status) {
        case CSetStatus::Stored:
            break;
        case CSetStatus::Adjusted:
            adjusted << path + ' ' + QString::fromStdString(o.result.stored);
            break;
        case CSetStatus::Refused:
        case CSetStatus::NotKept:
            refused << path + ": " + QString::fromUtf8(SetReasonText(o.result.reason));
            break;
        }
    }
    QStringList parts;
    if (!adjusted.isEmpty()) parts << "Adjusted: " + adjusted.join(", ");
    if (!refused.isEmpty()) parts << "Not taken: " + refused.join(", ");
    return parts.join("; ");
}

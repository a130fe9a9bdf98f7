#include "views/doc_edit.h"

#include "params/node.h"
#include "views/edit_notes.h"

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
    bool clearing = false;
};

} // namespace

QUndoStack* UndoStackOf(CCloneSupportDoc& doc) {
    if (auto* undo = static_cast<CDocUndo*>(doc.ViewData())) return &undo->stack;
    auto undo = std::make_shared<CDocUndo>();
    CDocUndo* state = undo.get();
    QUndoStack* stack = &undo->stack;
    doc.SetViewData(undo);
    // A new image from outside (new, open, read, model change) starts a new history. Its clean
    // state is that image when the document holds it unmodified (new, open, model change); an
    // image read from a radio is not in a file yet, so no step of its history is clean until a
    // save.
    doc.Subscribe([state, &doc](const CChangeNotice& notice) {
        switch (notice.reason) {
        case CChangeReason::Load:
        case CChangeReason::Read:
        case CChangeReason::ModelChange:
        case CChangeReason::New:
            state->clearing = true;
            state->stack.clear();
            if (doc.IsModified()) state->stack.resetClean();
            state->clearing = false;
            break;
        case CChangeReason::Edit:
        case CChangeReason::UndoRedo:
            break;
        }
    });
    // Back at the state last saved (or opened): the document is no longer modified.
    QObject::connect(stack, &QUndoStack::indexChanged, stack, [state, &doc](int) {
        if (!state->clearing && state->stack.isClean()) doc.SetModifiedFlag(false);
    });
    return stack;
}

CEditStep RunEdit(CCloneSupportDoc& doc, const QString& label, const CEditChange& change,
                  const std::string& changedPath) {
    CEditStep step = doc.Edit(label.toStdString(), change, changedPath);
    if (step.Changed()) UndoStackOf(doc)->push(new CImageEditCommand(doc, label, step));
    CEditNotes::Instance().EditRan(step);
    return step;
}

QString EditOutcomeText(const CEditStep& step,
                        const std::function<QString(const std::string& path)>& nameOf) {
    QStringList parts, notes;
    for (const CEditOutcome& o : step.outcomes) {
        if (o.result.status != CSetStatus::Stored)
            parts << QString::fromStdString(
                OutcomePhrase(nameOf(o.path).toStdString(), o.given, o.result, o.result.stored));
        if (!o.note.empty() && !notes.contains(QString::fromStdString(o.note)))
            notes << QString::fromStdString(o.note);
    }
    return (parts + notes).join(QStringLiteral("; "));
}

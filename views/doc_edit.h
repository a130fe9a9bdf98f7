// The window's one editing path. Every change a user makes in a sheet, a row editor, a setting
// page or a dialog runs through RunEdit: one document edit (CCloneSupportDoc::Edit), one step on
// the document's undo stack, one change notice. Undo and redo put the whole image back, exact to
// the byte; coming back to the state last saved or read clears the modified flag.
#pragma once

#include "app/clone_support_doc.h"

#include <QString>

#include <functional>
#include <string>

class QUndoStack;

using CEditChange = std::function<void(CNode& root, CEditReport& report)>;

// Runs change as one edit named label ("Delete CH 5"; the undo menu shows "Undo Delete CH 5")
// and pushes it on the document's undo stack when the image changed. changedPath names the node
// the change is confined to (empty: the whole tree). The step tells what became of each value.
CEditStep RunEdit(CCloneSupportDoc& doc, const QString& label, const CEditChange& change,
                  const std::string& changedPath = {});

// The document's undo stack, made on first use. It is emptied by a new document, an open, a
// clone read and a model change, and marked clean by a save.
QUndoStack* UndoStackOf(CCloneSupportDoc& doc);

// A line for the status bar about the values an edit adjusted, refused or could not keep, for a
// user who knows the values by the names on the screen: nameOf gives the name of a path ("RX
// Frequency"). "RX Frequency adjusted to 146.53125 (snapped to ...); TX C.Tone "089" not taken
// (not one of the choices)", then the notes ("stored, the radio does not use that channel"),
// each once. Empty when every value was stored as given.
QString EditOutcomeText(const CEditStep& step,
                        const std::function<QString(const std::string& path)>& nameOf);

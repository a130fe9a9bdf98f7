// The frame of the editor dialogs: their content above an OK/Cancel row, at the size the layout
// needs.
#pragma once

class QDialog;
class QDialogButtonBox;
class QLayout;

// Lays the dialog out; OK accepts it and Cancel rejects it.
QDialogButtonBox* LayOutDialog(QDialog* dialog, QLayout* content);

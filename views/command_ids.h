// Command ids of the cloning program's menus, toolbar and accelerators.
#pragma once

namespace cmd {
// File
constexpr int kNew = 32786;
constexpr int kFileNew = 57600; // the plain new-document processing (no menu entry)
constexpr int kOpen = 57601;
constexpr int kSave = 57603;
constexpr int kSaveAs = 57604;
constexpr int kPrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kExportPdf = 20162; // our own: the printout into a PDF file
constexpr int kRecentFirst = 57616;
constexpr int kRecentLast = 57631;
constexpr int kExit = 57665;
// Our own: channel lists in and out, stock configurations (one id per template found)
constexpr int kImportChannels = 20160;
constexpr int kExportChannels = 20161;
// Our own: the document against a file or the radio, in the differences window
constexpr int kCompareFile = 20163;
constexpr int kCompareRadio = 20164;
constexpr int kTemplateFirst = 20170;
constexpr int kTemplateLast = 20199;
// Edit (handled by the sheets; Undo and Redo by the frame)
constexpr int kEditMemory = 20120;
constexpr int kPrioA = 32775;
constexpr int kPrioB = 32776;
constexpr int kEmergency = 32777;
constexpr int kEmergencyOff = 32778;
constexpr int kClear = 57632;
constexpr int kCopy = 57634;
constexpr int kCut = 57635;
constexpr int kPaste = 57637;
constexpr int kUndo = 57643;
constexpr int kRedo = 57644;
constexpr int kLastEditNotes = 20165; // our own: what the last edits adjusted or refused
constexpr int kDelete = 32784;
constexpr int kInsert = 32785;
// Our own: several rows of a memory sheet
constexpr int kFillDown = 20121;
constexpr int kFillSeries = 20122;
constexpr int kPasteText = 20123; // the clipboard's text, whatever else it holds
// View
constexpr int kCommonSetting = 20130;
constexpr int kToolbar = 59392;
constexpr int kStatusBar = 59393;
// COM port and clone
constexpr int kCom1 = 20113;
constexpr int kCom4 = 20116;
constexpr int kAssignPorts = 20117; // our own: assign devices to COM numbers
constexpr int kSaveTrace = 20118;   // our own: the serial trace to a file
constexpr int kCloneRead = 20110;
constexpr int kCloneWrite = 20111;
constexpr int kCloneInfo = 20112;
constexpr int kVerifyAfterWrite = 20119; // our own: read back and compare after a write
constexpr int kFleetWrite = 20151;       // our own: write to several radios
constexpr int kBackups = 20150;          // our own (File menu): the backups of reads and writes
// Model, in variant order 0 to 5
constexpr int kModel[6] = {20141, 20140, 20143, 20142, 32822, 32819};
// Help and panes
constexpr int kHelpContents = 57667;
constexpr int kAbout = 57664;
constexpr int kNextPane = 57680;
constexpr int kPrevPane = 57681;
} // namespace cmd

// The dialogs the tree and the frame open by name ("CommonSetting", "ScanSetting", ...). Each
// editor registers its opener; a name without one opens nothing.
#pragma once

#include <functional>
#include <string>

class CCloneSupportDoc;
class QWidget;

// Opens the editor modally on the given page; true when the user changed data.
using EditorOpener = std::function<bool(QWidget* parent, CCloneSupportDoc& doc, int page)>;

void RegisterEditor(const std::string& name, EditorOpener opener);
const EditorOpener* FindEditor(const std::string& name);

namespace editor {
constexpr const char* kCommonSetting = "CommonSetting";
constexpr const char* kScanSetting = "ScanSetting";
constexpr const char* kDtmfAutodial = "DtmfAutodial";
constexpr const char* kTwoToneSetting = "TwoToneSetting";
constexpr const char* kTwoToneTxCode = "TwoToneTxCode";
constexpr const char* kFiveToneSetting = "FiveToneSetting";
constexpr const char* kMakerReserved = "MakerReserved";
} // namespace editor

// The settings forms: the four pages of "Common Setting" and the dialogs "Scan Setting", "DTMF
// Autodial" and "Maker Reserved", each a table of fields (group, label, node, kind).
#pragma once

#include "sheets/form.h"

enum class CSettingForm { KeyDisplay, Common1, Common2, Expert, ScanSetting, DtmfAutodial, Maker };

// The pages of "Common Setting" in page order (page 0 to 3).
inline constexpr CSettingForm kCommonSettingPages[] = {
    CSettingForm::KeyDisplay, CSettingForm::Common1, CSettingForm::Common2, CSettingForm::Expert};

const CFormDesc& FormDescOf(CSettingForm form);

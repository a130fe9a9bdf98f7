#include "views/save_name.h"

#include "core/platform.h"

#include <QFileInfo>

QString SaveNameWithSuffix(const QString& path, const QString& ext) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    const QString whole = path + ext;
    if (QFileInfo::exists(whole) &&
        Platform().prompts->MessageBox(QFileInfo(whole).fileName().toStdString() +
                                           " already exists.\nDo you want to replace it?",
                                       "KT-Z30", KtButtons::YesNo,
                                       KtIcon::Exclamation) != KtAnswer::Yes)
        return {};
    return whole;
}

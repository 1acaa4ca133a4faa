#include "widgets/file_icons.h"

#include <QFileInfo>

QIcon TFileIconCache::Icon(const QString& FullPath) {
    const QFileInfo Info(FullPath);
    const QString Suffix = Info.suffix().toLower();
    const auto Found = FBySuffix.constFind(Suffix);
    if (Found != FBySuffix.constEnd()) {
        return *Found;
    }
    const QIcon Result = FProvider.icon(Info);
    FBySuffix.insert(Suffix, Result);
    return Result;
}

#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>

// Small icons of files from the desktop's icon theme. Files of one suffix share one icon, so a
// folder of thousands of files asks the theme only once per kind.
class TFileIconCache {
public:
    QIcon Icon(const QString& FullPath);

private:
    QFileIconProvider FProvider;
    QHash<QString, QIcon> FBySuffix;
};

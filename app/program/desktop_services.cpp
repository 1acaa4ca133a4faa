#include "app/program/desktop_services.h"

#include "platform/qt/qt_string.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

namespace {

// How long after its start a failure of xdg-open means that nothing could open the target.
constexpr qint64 kFailureMilliseconds = 10000;

} // namespace

TDesktopOpener::~TDesktopOpener() {
    for (QProcess* Process : FRunning.findChildren<QProcess*>()) {
        Process->disconnect();
        Process->kill();
        Process->waitForFinished();
    }
}

bool TDesktopOpener::Open(const std::string& Target, const TShellOpenFailed& Failed) {
    const QString Text = ToQString(Target);
    const QUrl Url = Text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(Text) : QUrl(Text);
    if (!Url.isValid()) {
        return false;
    }
    const QString Opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (Opener.isEmpty()) {
        return QDesktopServices::openUrl(Url);
    }
    auto* Process = new QProcess(&FRunning);
    Process->setProgram(Opener);
    Process->setArguments({QString::fromUtf8(Url.toEncoded())});
    Process->setStandardInputFile(QProcess::nullDevice());
    Process->setProcessChannelMode(QProcess::ForwardedChannels); // its messages go where ours do
    QElapsedTimer Started;
    Started.start();
    QObject::connect(Process, &QProcess::finished, Process,
                     [Process, Started, Failed](int ExitCode, QProcess::ExitStatus Status) {
                         Process->deleteLater();
                         const bool Early = Started.elapsed() < kFailureMilliseconds;
                         if (Early && (Status != QProcess::NormalExit || ExitCode != 0) && Failed) {
                             Failed();
                         }
                     });
    Process->start();
    if (!Process->waitForStarted()) {
        delete Process;
        return false;
    }
    return true;
}

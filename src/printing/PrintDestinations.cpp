#include "printing/PrintDestinations.h"

#include <rtnmod08/ModuleError.h>
#include "common/core/OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cups/cups.h>

namespace shop {

namespace {

const QString Source = QStringLiteral("rtnmod08");
constexpr long long FileAccessError = 75;
constexpr long long DeviceUnavailable = 68;

[[noreturn]] void printerError(const QString &queue, const QString &what)
{
    throw ModuleError(DeviceUnavailable, Source,
                      QStringLiteral("The print queue \"%1\" %2: %3")
                          .arg(queue, what, QString::fromLocal8Bit(cupsLastErrorString())));
}

void sendToQueue(const QString &queue, const QByteArray &bytes)
{
    const QByteArray name = queue.toLocal8Bit();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), "Purchase Return", 0, nullptr);
    if (job == 0)
        printerError(queue, QStringLiteral("did not take the job"));
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, "PurchaseReturn.txt", CUPS_FORMAT_RAW, 1)
        != HTTP_STATUS_CONTINUE) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        printerError(queue, QStringLiteral("did not take the document"));
    }
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.constData(), static_cast<size_t>(bytes.size()))
        != HTTP_STATUS_CONTINUE) {
        cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        printerError(queue, QStringLiteral("stopped taking the document"));
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData()) != IPP_STATUS_OK)
        printerError(queue, QStringLiteral("did not finish the job"));
}

} // namespace

QString screenFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("shopreturns/PurchaseReturn.txt"));
}

void writePrintFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    const auto failed = [&](const QFileDevice &file) {
        throw ModuleError(FileAccessError, Source,
                          QStringLiteral("Path/File access error: %1: %2").arg(path, file.errorString()));
    };
    // A device (a printer port, /dev/full) cannot be replaced: it takes the bytes as
    // they come, and says at the flush whether it took them all.
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size() || !device.flush())
            failed(device);
        return;
    }
    // A file is replaced only once every byte is on disk: a full disk leaves what was
    // there (or nothing), never the start of a printout.
    QSaveFile file(path);
    // A printer's file in a folder the clerk may not write to is written in place.
    file.setDirectWriteFallback(true);
    const bool created = !target.exists();
    if (!file.open(QIODevice::WriteOnly) || (created && !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        || file.write(bytes) != bytes.size() || !file.commit())
        failed(file);
}

QString writeScreenFile(const QByteArray &bytes)
{
    const QString path = screenFilePath();
    makeOwnerOnlyFolder(QFileInfo(path).absolutePath());
    writePrintFile(path, bytes);
    // The module's own file: its owner's alone, whatever an earlier version left.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

bool portIsPath(const QString &port) { return port.contains(QLatin1Char('/')); }

void sendToPrinter(const QString &port, const QByteArray &bytes)
{
    if (port.isEmpty())
        throw ModuleError(DeviceUnavailable, Source,
                          QStringLiteral("No printer is set: the port setting of the shop's print settings is empty."));
    if (portIsPath(port))
        writePrintFile(port, bytes);
    else
        sendToQueue(port, bytes);
}

} // namespace shop

#pragma once

#include <QByteArray>
#include <QString>

namespace shop {

// Where "To Screen" puts the document: PurchaseReturn.txt in the user's own data folder.
QString screenFilePath();

// Writes the document to the screen file (making its folder when needed); returns its path.
QString writeScreenFile(const QByteArray &bytes);

// Writes the document to a file or device, replacing what a file held.
void writePrintFile(const QString &path, const QByteArray &bytes);

// "To Printer": the port setting names a device or file when it holds a "/"
// (/dev/usb/lp0, /srv/print/till2.prn), otherwise a print queue, which gets the bytes
// raw, form feeds and printer codes as they are.
void sendToPrinter(const QString &port, const QByteArray &bytes);
bool portIsPath(const QString &port);

} // namespace shop

#pragma once

#include <QByteArray>
#include <QString>

namespace shop {

// Where "To Screen" puts the document: PurchaseReturn.txt in the user's own data folder.
QString screenFilePath();

// Writes the document to the screen file (making its folder when needed); returns its path.
QString writeScreenFile(const QByteArray &bytes);

// Writes the whole document to a file or device, or raises an error: a file is
// replaced only when every byte is written (a full disk leaves it as it was), and a
// new one is readable by its owner only.
void writePrintFile(const QString &path, const QByteArray &bytes);

// "To Printer": the port setting names a device or file when it holds a "/"
// (/dev/usb/lp0, /srv/print/till2.prn), otherwise a print queue, which gets the bytes
// raw, form feeds and printer codes as they are.
void sendToPrinter(const QString &port, const QByteArray &bytes);
bool portIsPath(const QString &port);

} // namespace shop

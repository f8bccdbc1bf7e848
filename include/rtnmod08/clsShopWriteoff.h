#pragma once

#include <rtnmod08/Connection.h>
#include <rtnmod08/Export.h>

#include <QDate>
#include <QString>
#include <memory>

namespace shop {

/**
 * @brief The module's public class: the purchase-return register and everything it opens.
 *
 * A host creates it with createShopWriteoff() (or the C factory), assigns the session
 * (connection, message title, process date, user, shop, company, transaction type) and
 * calls Show(), which opens the register modally and returns when the clerk closes it.
 * Every window runs on the thread of the host's QApplication.
 *
 * Failures inside the windows are reported to the clerk through the error tracker
 * (the ErrorHandler.ErrorDetails component); Show() itself raises nothing.
 */
class RTNMOD08_EXPORT clsShopWriteoff {
public:
    clsShopWriteoff();
    ~clsShopWriteoff();
    clsShopWriteoff(const clsShopWriteoff &) = delete;
    clsShopWriteoff &operator=(const clsShopWriteoff &) = delete;

    /// The host's connection. Read before the host assigned one, it is a new, unopened
    /// connection, on which the register's first query fails and is reported.
    ConnectionPtr &adocon();
    /// Hands the module the host's open connection; the module shares its ownership.
    void setAdocon(ConnectionPtr connection);

    /// The title of the module's message boxes.
    QString MessageTitle;
    /// The session's business date: the register's date window, the editor's defaults.
    QDate gdtProccessDate;
    /// The logged-in user: rights, audit and error reports.
    qint32 intUserID = 0;
    /// The current shop: every statement filters on it.
    qint32 intShopID = 0;
    /// The current company.
    qint32 intCompanyID = 0;
    /// The transaction type; "P" is the shop purchase return.
    QString strtranstype;

    /// Copies the session into the module and opens the register modally; returns when
    /// the clerk closes it. A second call opens a fresh register with the session as it
    /// is then.
    void Show();

    /**
     * @brief Prints the shop's return with document number `number` as text, without windows.
     *
     * Writes the bytes "To Screen" writes to `outputPath`, or to standard output when
     * it is empty, on the session set above. Messages go to standard error.
     * @return 0 when done; 1 when the return is not the shop's, the user may not print
     *         or the output could not be written whole (a file is then left as it was).
     */
    int PrintText(const QString &number, const QString &outputPath = {});
    /// Writes the return's report as a PDF file to `pdfPath`; returns as PrintText().
    /// Needs a QGuiApplication (the offscreen platform will do) for its fonts.
    int ExportReport(const QString &number, const QString &pdfPath);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace shop

/// Creates the module's public class; release it with rtnmod08_destroy_clsShopWriteoff().
extern "C" RTNMOD08_EXPORT shop::clsShopWriteoff *rtnmod08_create_clsShopWriteoff();
/// Releases what rtnmod08_create_clsShopWriteoff() made.
extern "C" RTNMOD08_EXPORT void rtnmod08_destroy_clsShopWriteoff(shop::clsShopWriteoff *object);

namespace shop {
/// The same factory for C++ hosts: the module is released when the pointer goes.
inline std::unique_ptr<clsShopWriteoff, void (*)(clsShopWriteoff *)> createShopWriteoff()
{
    return {rtnmod08_create_clsShopWriteoff(), &rtnmod08_destroy_clsShopWriteoff};
}
} // namespace shop

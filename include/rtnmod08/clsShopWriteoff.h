#pragma once

#include <rtnmod08/Connection.h>
#include <rtnmod08/Export.h>

#include <QDate>
#include <QString>
#include <memory>

namespace shop {

// The module's public class. A host assigns the session (connection, message title,
// process date, user, shop, company, transaction type) and calls Show, which opens the
// purchase-return register modally and returns when the user closes it.
class RTNMOD08_EXPORT clsShopWriteoff {
public:
    // The host's connection. Reading it before the host assigned one gives a new,
    // unopened connection, on which the register's first query fails and is reported.
    ConnectionPtr &adocon();
    void setAdocon(ConnectionPtr connection) { m_adocon = std::move(connection); }

    QString MessageTitle;
    QDate gdtProccessDate;
    qint32 intUserID = 0;
    qint32 intShopID = 0;
    qint32 intCompanyID = 0;
    QString strtranstype;

    void Show();

    // Scripted reprints, without windows, of the shop's return with document number
    // `number` on the session set above: the text printout (the bytes "To Screen"
    // writes) to `outputPath`, or standard output when it is empty; or the return's
    // report as a PDF file. Messages go to standard error. Return 0 when done, 1 when
    // the return is not the shop's or the output could not be written.
    int PrintText(const QString &number, const QString &outputPath = {});
    int ExportReport(const QString &number, const QString &pdfPath);

private:
    // Copies the session into the module-wide state.
    void fillModuleState();

    ConnectionPtr m_adocon;
};

} // namespace shop

// The factory a host uses to create the module's public class.
extern "C" RTNMOD08_EXPORT shop::clsShopWriteoff *rtnmod08_create_clsShopWriteoff();
extern "C" RTNMOD08_EXPORT void rtnmod08_destroy_clsShopWriteoff(shop::clsShopWriteoff *object);

namespace shop {
// The same factory for C++ hosts, owning what it creates.
inline std::unique_ptr<clsShopWriteoff, void (*)(clsShopWriteoff *)> createShopWriteoff()
{
    return {rtnmod08_create_clsShopWriteoff(), &rtnmod08_destroy_clsShopWriteoff};
}
} // namespace shop

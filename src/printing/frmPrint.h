#pragma once

#include "common/core/TransactionId.h"
#include "ui_frmPrint.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace shop {

class Report;
class ReportEngine;

// The print dialog of the register's current return: "To Printer" (the shop's printer
// port or print queue), "To Screen" (the printout file in the screen viewer) and,
// where the shop's settings offer it, "Windows Print" (the report in a print preview).
// It always opens on "To Screen". It closes after printing to the printer or the
// screen and stays open after a report or an error.
class frmPrint : public QDialog, private Ui_frmPrint {
    Q_OBJECT
public:
    // The screen viewer belongs to viewerOwner.
    explicit frmPrint(TransactionId id, QWidget *viewerOwner = nullptr, QWidget *parent = nullptr);
    ~frmPrint() override;

    void Form_Load();
    void WIndowsPrint();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void printText(bool toScreen);

    TransactionId m_id;
    QPointer<QWidget> m_viewerOwner;
    std::shared_ptr<ReportEngine> m_engine;
    std::shared_ptr<Report> m_report;
};

} // namespace shop

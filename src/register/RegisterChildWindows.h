#pragma once

#include "common/core/TransactionId.h"
#include "editor/EntryRequest.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace shop {

// The register's current return, to be cancelled: its id and the number the clerk sees.
struct DeletionRequest {
    TransactionId id;
    QString number;
};

// How the register gets the windows it opens: the editor (New and Edit), the
// deletion dialog and the print dialog, each given what the register's row says and
// nothing of the register itself. The application uses the module's own windows;
// tests put stand-ins here. A window that is not there yet is reported to the user
// instead of being opened.
struct RegisterChildWindows {
    std::function<std::unique_ptr<QDialog>(EntryRequest)> editor;
    std::function<std::unique_ptr<QDialog>(const DeletionRequest &)> deletion;
    // The print dialog's screen viewer belongs to viewerOwner (the register).
    std::function<std::unique_ptr<QDialog>(TransactionId id, QWidget *viewerOwner)> print;

    static RegisterChildWindows &current();
};

} // namespace shop

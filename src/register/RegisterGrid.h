#pragma once

#include "register/RegisterModel.h"

#include <QColor>
#include <QTableView>
#include <memory>

class QTableWidget;

namespace shop {

// The register's list on screen: a view over the register model, addressed as the
// module's routines address grids (row 0 is the caption row, data rows 1 to rows() - 1,
// widths in twips).
class RegisterGrid : public QTableView {
    Q_OBJECT
public:
    explicit RegisterGrid(QWidget *parent = nullptr);
    ~RegisterGrid() override;

    RegisterModel &listModel() { return m_model; }
    const RegisterModel &listModel() const { return m_model; }

    int rows() const { return m_model.rowCount() + 1; }
    int cols() const { return m_model.columnCount(); }
    QString textMatrix(int row, int col) const;
    QColor cellForeColor(int row, int col) const;

    int row() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 0; }
    void setRow(int row);
    int col() const { return currentIndex().column(); }
    void setCol(int col);
    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    void selectRows(int fromRow, int toRow);
    int selectedRowCount() const;
    void setTopRow(int row);
    // Stands on a row a search found, shown first on screen; where the list ends within
    // the screen, the rows above it fill the rest.
    void standOnFound(int row);

    // The user's stored column widths, through the host's grid-setting component, which
    // works on a table widget: it gets one with the list's columns and its name, and
    // widths the clerk drags here are kept through it.
    void applyStoredWidths(qint32 userId, qint32 companyId, const ConnectionPtr &con);

signals:
    void currentRowChanged(int row, int previousRow);

protected:
    // Moving up past the first row read brings the older returns in above it; Ctrl+Home
    // and Ctrl+End show the list's own start and end.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void wheelEvent(QWheelEvent *event) override;
    void updateGeometries() override;

private:
    // Reads the page before the first row, keeping the rows in view where they are on
    // screen; how many rows came.
    int readOlder();
    // A cell of the row the view can scroll to and the keys move from.
    QModelIndex shownCell(int modelRow) const;

    RegisterModel m_model;
    std::unique_ptr<QTableWidget> m_settingsGrid;
    QPersistentModelIndex m_pendingTop; // to go on top once the list has a height
};

} // namespace shop

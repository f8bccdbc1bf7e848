#pragma once

#include <rtnmod08/HostComponents.h>

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace shop {

// The lookup window behind the library's clsFetch: the rows of a statement in a
// table, a search box that moves to the first row whose default field starts with
// the typed text (case ignored), Enter or a double click to choose, Escape to cancel.
class FetchDialog final : public QDialog {
    Q_OBJECT
public:
    struct Columns {
        QStringList names;          // recordset fields, in the order shown
        QStringList captions;       // one per name; the name where missing
        std::vector<qint16> widths; // twips, one per name; 0 hides the column
        int searchColumn = 0;       // index into names
    };

    FetchDialog(const Recordset &rows, Columns columns, const QString &caption, QWidget *parent = nullptr);

    // The recordset row chosen; -1 while none has been.
    int chosenRow() const { return m_chosen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillGrid(const Recordset &rows);
    void search(const QString &text);
    void moveBy(int rows);
    void choose();

    Columns m_columns;
    QLineEdit *m_search = nullptr;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_ok = nullptr;
    int m_chosen = -1;
};

// The library's own Fetch.clsFetch. Show runs strQuery on adocon and shows it
// through the Ui services; afterwards the recordset given to setRecordSet holds the
// rows and stands on the chosen one (at its end when the user cancelled).
class DefaultFetch final : public clsFetch {
public:
    void setRecordSet(std::shared_ptr<Recordset> &recordset) override;
    void setFieldNames(const QStringList &names) override { m_columns.names = names; }
    void setFieldCaptions(const QStringList &captions) override { m_columns.captions = captions; }
    void setFieldWidths(const std::vector<qint16> &widths) override { m_columns.widths = widths; }
    void setDefaultFetchField(int index) override { m_columns.searchColumn = index; }
    void setInterfaceCaption(const QString &caption) override { m_caption = caption; }
    void Show() override;
    bool getCancelledStatus() const override { return m_cancelled; }

private:
    std::shared_ptr<Recordset> m_recordset;
    FetchDialog::Columns m_columns;
    QString m_caption;
    bool m_cancelled = true;
};

} // namespace shop

#pragma once

#include <QWidget>

class QLabel;
class QTextEdit;

namespace shop {

// The screen preview of "To Screen": the printout file in a monospace, read-only
// window that does not block the register. A form feed shows as a rule across the
// page, where the paper would be torn, naming the page that follows; the printer's
// control codes are not shown.
// Escape closes it.
class ScreenViewer : public QWidget {
    Q_OBJECT
public:
    explicit ScreenViewer(QWidget *owner = nullptr);

    // Shows the file in the owner's viewer, opening one when it has none yet.
    static ScreenViewer *showFile(QWidget *owner, const QString &path);

    void load(const QString &path);
    int pageCount() const { return m_pages; }
    // The printout's lines as shown, without the bands between pages.
    QString shownText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextEdit *txtPrintout = nullptr;
    QLabel *lblFile = nullptr;
    int m_pages = 0;
};

} // namespace shop

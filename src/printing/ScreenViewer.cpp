#include "printing/ScreenViewer.h"

#include <rtnmod08/ModuleError.h>

#include <QColor>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace shop {

namespace {
constexpr int PageBreakProperty = QTextFormat::UserProperty + 1;
}

ScreenViewer::ScreenViewer(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("ScreenViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    txtPrintout = new QTextEdit(this);
    txtPrintout->setObjectName(QStringLiteral("txtPrintout"));
    txtPrintout->setReadOnly(true);
    txtPrintout->setLineWrapMode(QTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QStringLiteral("iiii")) != metrics.horizontalAdvance(QStringLiteral("MMMM"))) {
        // A platform without a fixed font of its own still has a monospace family.
        font = QFont(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    txtPrintout->setFont(font);
    txtPrintout->document()->setDefaultFont(font);
    lblFile = new QLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtPrintout);
    layout->addWidget(lblFile);
    // Room for an 80-column page.
    const int columns = QFontMetrics(font).horizontalAdvance(QString(84, QLatin1Char('M')));
    resize(columns + 40, 640);
}

ScreenViewer *ScreenViewer::showFile(QWidget *owner, const QString &path)
{
    ScreenViewer *viewer = owner ? owner->findChild<ScreenViewer *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!viewer)
        viewer = new ScreenViewer(owner);
    viewer->load(path);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

void ScreenViewer::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ModuleError(53, QStringLiteral("rtnmod08"), QStringLiteral("File not found: %1").arg(path));
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QChar(0x0e));
    text.remove(QChar(0x0f));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();

    QTextDocument *doc = txtPrintout->document();
    doc->clear();
    QTextCursor cursor(doc);
    const QTextBlockFormat plain;
    const QTextCharFormat letters;
    // Where the paper is torn: a grey band across the page that names the next page.
    QTextBlockFormat tear;
    tear.setBackground(QColor(0xd8, 0xd8, 0xd8));
    tear.setTopMargin(4);
    tear.setBottomMargin(4);
    tear.setProperty(PageBreakProperty, true);
    QTextCharFormat tearText;
    tearText.setForeground(QColor(0x60, 0x60, 0x60));
    tearText.setFontItalic(true);
    m_pages = 1;
    bool first = true;
    for (const QString &line : std::as_const(lines)) {
        if (!first)
            cursor.insertBlock(plain, letters);
        first = false;
        if (line.contains(QLatin1Char('\f'))) {
            ++m_pages;
            cursor.setBlockFormat(tear);
            cursor.insertText(QStringLiteral("  page %1").arg(m_pages), tearText);
            QString rest = line;
            rest.remove(QLatin1Char('\f'));
            if (!rest.isEmpty()) {
                cursor.insertBlock(plain, letters);
                cursor.insertText(rest, letters);
            }
        } else {
            cursor.insertText(line, letters);
        }
    }
    txtPrintout->moveCursor(QTextCursor::Start);
    setWindowTitle(QStringLiteral("PurchaseReturn.txt"));
    lblFile->setText(QStringLiteral("%1   (%2 %3)").arg(path).arg(m_pages).arg(m_pages == 1 ? "page" : "pages"));
}

void ScreenViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString ScreenViewer::shownText() const
{
    QStringList shown;
    for (QTextBlock block = txtPrintout->document()->begin(); block.isValid(); block = block.next())
        if (!block.blockFormat().hasProperty(PageBreakProperty))
            shown << block.text();
    return shown.join(QLatin1Char('\n'));
}

} // namespace shop

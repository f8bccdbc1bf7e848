#include "printing/DefaultReportEngine.h"

#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleCommonDB.h"
#include "printing/ReportPreview.h"

namespace shop {

std::shared_ptr<Report> DefaultReportEngine::openReport(const QString &path)
{
    return std::make_shared<DefaultReport>(ReportDefinition::load(path));
}

DefaultReport::DefaultReport(ReportDefinition definition) : m_definition(std::move(definition))
{
    m_values.resize(m_definition.parameterNames.size());
}

DefaultReport::~DefaultReport()
{
    if (m_window)
        m_window->deleteLater();
}

void DefaultReport::setCurrentValue(int position, const QVariant &value)
{
    if (position < 1 || position > m_values.size())
        throw ModuleError(9, QStringLiteral("rtnmod08"),
                          QStringLiteral("Subscript out of range: the report has no parameter %1").arg(position));
    m_values[position - 1] = value;
}

void DefaultReport::setOption(int dispatchId, bool on)
{
    if (on)
        m_options.insert(dispatchId);
    else
        m_options.remove(dispatchId);
}

QString DefaultReport::filled() const { return m_definition.render(moduleConnection(), m_values); }

void DefaultReport::preview(const QString &title, int left, int top, int width, int height, quint32 style,
                            QWidget *owner)
{
    if (m_window)
        m_window->deleteLater();
    ReportPreview::Actions actions;
    actions.print = m_options.contains(7);
    actions.exportPdf = m_options.contains(8);
    actions.zoom = m_options.contains(12);
    actions.pages = m_options.contains(14);
    m_window = new ReportPreview(filled(), m_definition, actions, owner);
    m_window->setWindowTitle(title);
    constexpr quint32 Maximised = 0x01000000;
    if (style & Maximised) {
        m_window->showMaximized();
    } else {
        if (width > 0 && height > 0)
            m_window->setGeometry(left, top, width, height);
        m_window->show();
    }
}

void DefaultReport::exportPdf(const QString &path) { ReportPreview::writePdf(filled(), m_definition, path); }

} // namespace shop

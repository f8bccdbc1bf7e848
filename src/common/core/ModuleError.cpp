#include <rtnmod08/ModuleError.h>

namespace shop {

ModuleError::ModuleError(long long number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what(QStringLiteral("%1 (%2): %3").arg(m_number).arg(m_source, m_description).toStdString())
{
}

ModuleError::~ModuleError() = default;

} // namespace shop

#include "common/ui/KeyRuleValidator.h"

#include <QLineEdit>

namespace shop {

KeyRuleValidator::KeyRuleValidator(KeyRule rule, QObject *parent) : QValidator(parent), m_rule(std::move(rule)) {}

QValidator::State KeyRuleValidator::validate(QString &input, int &) const
{
    QLineEdit scratch;
    for (const QChar key : std::as_const(input)) {
        if (!key.isPrint() || !m_rule(scratch, key))
            return Invalid;
        scratch.insert(QString(key));
    }
    return Acceptable;
}

} // namespace shop

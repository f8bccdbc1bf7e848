#pragma once

#include <QValidator>

#include <functional>

class QLineEdit;

namespace shop {

// Lets into a box only text its key rule would have let in key by key: a paste, a drop
// or the context menu's Paste cannot put into a quantity box what typing could not.
// The rule is asked on a scratch box that holds the text taken so far, as the real box
// would when the keys were typed one after another; it must not speak to the user.
class KeyRuleValidator final : public QValidator {
public:
    using KeyRule = std::function<bool(QLineEdit &scratch, QChar key)>;

    KeyRuleValidator(KeyRule rule, QObject *parent);

    State validate(QString &input, int &pos) const override;

private:
    KeyRule m_rule;
};

} // namespace shop

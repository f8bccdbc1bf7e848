#pragma once

#include <rtnmod08/Export.h>

#include <QString>
#include <exception>
#include <string>

namespace shop {

/// The one kind of failure the module raises: what the error log and the user see
/// (number, source, description), as the host's error reporting expects it.
class RTNMOD08_EXPORT ModuleError : public std::exception {
public:
    ModuleError(long long number, QString source, QString description);
    ModuleError(const ModuleError &) = default;
    ModuleError &operator=(const ModuleError &) = default;
    ModuleError(ModuleError &&) noexcept = default;
    ModuleError &operator=(ModuleError &&) noexcept = default;
    /// Out of line, so that the type's identity lives in the library alone and a host
    /// catches exactly the errors the library throws.
    ~ModuleError() override;

    long long number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

    /// Numbers of the failures the module itself raises.
    static constexpr long long Overflow = 6;
    static constexpr long long TypeMismatch = 13;
    static constexpr long long InvalidUseOfNull = 94;
    static constexpr long long ConnectionClosed = 3709;
    static constexpr long long DatabaseFailure = -2147467259; ///< generic provider failure

private:
    long long m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

} // namespace shop

#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>

namespace shop {

namespace {
const QString kSource = QStringLiteral("Recordset");
}

// Nested in an exported class, its members would be exported too; a host never sees them.
class Q_DECL_HIDDEN Recordset::Private {
public:
    QStringList names;
    std::vector<QVariantList> rows;
    int pos = 0;
};

Recordset::Recordset() : d(std::make_unique<Private>()) {}

Recordset::Recordset(QStringList fieldNames, std::vector<QVariantList> rows)
    : d(std::make_unique<Private>(Private{std::move(fieldNames), std::move(rows), 0}))
{
}

Recordset::Recordset(const Recordset &other) : d(std::make_unique<Private>(*other.d)) {}

Recordset &Recordset::operator=(const Recordset &other)
{
    if (this != &other)
        d = std::make_unique<Private>(*other.d);
    return *this;
}

// As with the standard containers, a moved-from recordset is only assigned to or destroyed.
Recordset::Recordset(Recordset &&other) noexcept = default;

Recordset &Recordset::operator=(Recordset &&other) noexcept = default;

Recordset::~Recordset() = default;

int Recordset::fieldCount() const { return static_cast<int>(d->names.size()); }
const QStringList &Recordset::fieldNames() const { return d->names; }
int Recordset::recordCount() const { return static_cast<int>(d->rows.size()); }
bool Recordset::isEmpty() const { return d->rows.empty(); }
bool Recordset::eof() const { return d->pos >= recordCount(); }
void Recordset::moveFirst() { d->pos = 0; }
void Recordset::moveNext() { ++d->pos; }
int Recordset::position() const { return d->pos; }
void Recordset::setPosition(int row) { d->pos = row; }
const std::vector<QVariantList> &Recordset::rows() const { return d->rows; }

int Recordset::fieldIndex(const QString &name) const
{
    // "u.UnitCode" style names address the bare column.
    const QString bare = name.section(QLatin1Char('.'), -1).trimmed();
    for (int i = 0; i < d->names.size(); ++i) {
        if (d->names.at(i).compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::value(int row, int index) const
{
    if (row < 0 || row >= recordCount())
        throw ModuleError(3021, kSource,
                          QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (index < 0 || index >= fieldCount())
        throw ModuleError(3265, kSource, QStringLiteral("Item cannot be found in the collection."));
    return d->rows.at(static_cast<size_t>(row)).at(index);
}

QVariant Recordset::value(int row, const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw ModuleError(3265, kSource,
                          QStringLiteral("Item cannot be found in the collection: %1").arg(name));
    return value(row, index);
}

QVariant Recordset::field(int index) const { return value(d->pos, index); }
QVariant Recordset::field(const QString &name) const { return value(d->pos, name); }

} // namespace shop

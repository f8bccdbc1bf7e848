#include "common/db/SqlText.h"

#include <gtest/gtest.h>

using namespace shop;

namespace {

struct Lifted {
    const char *written;
    const char *bound;
    QVariantList values;
};

void PrintTo(const Lifted &c, std::ostream *os) { *os << c.written; }

class ComparedValues : public ::testing::TestWithParam<Lifted> {};

TEST_P(ComparedValues, AreBoundAndEverythingElseStaysAsWritten)
{
    const BoundSql out = bindComparedValues(QString::fromUtf8(GetParam().written));
    EXPECT_EQ(out.text, QString::fromUtf8(GetParam().bound));
    ASSERT_EQ(out.values.size(), GetParam().values.size());
    for (qsizetype i = 0; i < out.values.size(); ++i) {
        EXPECT_EQ(out.values.at(i), GetParam().values.at(i)) << "value " << i;
        EXPECT_EQ(out.values.at(i).typeId(), GetParam().values.at(i).typeId()) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComparedValues,
    ::testing::Values(
        Lifted{" from aShops where ShopId = 12 and CompanyID=3", " from aShops where ShopId = ? and CompanyID=?", {12LL, 3LL}},
        Lifted{" from t where a<>4 and b>=5 and c<=6 and d<7 and e>8 and f!=9",
               " from t where a<>? and b>=? and c<=? and d<? and e>? and f!=?", {4LL, 5LL, 6LL, 7LL, 8LL, 9LL}},
        // Names with digits, and numbers that are not compared, stay.
        Lifted{" from aShops where futurevarchar1 = futurevarchar2 and t1.c2 = 3",
               " from aShops where futurevarchar1 = futurevarchar2 and t1.c2 = ?", {3LL}},
        Lifted{" from t where substring(futurevarchar,1,1) = 'Y' and x in (1, 2) and y between 3 and 4",
               " from t where substring(futurevarchar,1,1) = ? and x in (1, 2) and y between 3 and 4", {QString("Y")}},
        Lifted{" from t where cast(q as numeric(18,3)) = 2.5", " from t where cast(q as numeric(18,3)) = ?", {2.5}},
        // Signs belong to the number after a comparison; a minus between operands is arithmetic.
        Lifted{" from t where a = -5 and b = - 0.25 and c = whid-1", " from t where a = ? and b = ? and c = whid-1", {-5LL, -0.25}},
        Lifted{" from t where a = 5 + 1 and b = 'x' || 'y' and c = 7", " from t where a = 5 + 1 and b = 'x' || 'y' and c = ?", {7LL}},
        // Quoted text: doubled quotes are one, digits and comparisons inside it stay text.
        Lifted{" from LOUSERS where username = 'O''Brien = 5' and shopid = 1",
               " from LOUSERS where username = ? and shopid = ?", {QString("O'Brien = 5"), 1LL}},
        Lifted{" from t where a = '' and b like 'A=1%'", " from t where a = ? and b like 'A=1%'", {QString("")}},
        Lifted{" from \"odd = 5\" where [x = 1] = 2", " from \"odd = 5\" where [x = 1] = ?", {2LL}},
        // A quoted yyyymmdd date is left for the dialect to write as its backend's date.
        Lifted{" from t where d >= '20261206' and n = '20261399'", " from t where d >= '20261206' and n = ?", {QString("20261399")}},
        // Not plain numbers, or too long for one: left as written.
        Lifted{" from t where a = 1e5 and b = 5abc and c = 99999999999999999999 and d = .5",
               " from t where a = 1e5 and b = 5abc and c = 99999999999999999999 and d = ?", {0.5}},
        Lifted{" from t where a = 'never closed", " from t where a = 'never closed", {}},
        Lifted{" from aShipment", " from aShipment", {}}));

} // namespace

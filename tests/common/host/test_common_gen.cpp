#include "common/host/DefaultCommonGen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace shop;

TEST(CommonGen, NumericKeyFilter)
{
    const struct {
        const char *text;
        int cursor; // -1: the whole text is selected
        char key;
        int maxLength;
        int decimals;
        bool accepted;
    } cases[] = {
        {"12.5", 4, '.', 10, 3, false},       // a second decimal point
        {"1.234", 5, '5', 10, 3, false},      // a fourth decimal where three are allowed
        {"1.23", 4, '4', 10, 3, true},
        {"1.234", 0, '5', 10, 3, true},       // digits before the point are still free
        {"1234567890", 10, '1', 10, 2, false}, // past the maximum length
        {"999", -1, '5', 3, 2, true},         // typing over a selection replaces it
        {"12", 2, '.', 10, 0, false},         // no decimals at all
        {"12", 2, 'a', 10, 2, false},
    };
    DefaultCommonGen gen;
    QLineEdit box;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " + " + c.key);
        box.setText(QString::fromLatin1(c.text));
        if (c.cursor < 0)
            box.selectAll();
        else
            box.setCursorPosition(c.cursor);
        int key = c.key;
        gen.TextValidateNum(&box, key, c.maxLength, c.decimals);
        EXPECT_EQ(key, c.accepted ? c.key : 0);
    }
    box.setText("1.234");
    for (int control : {8, 13, 9, 27}) {
        int key = control;
        gen.TextValidateNum(&box, key, 5, 3);
        EXPECT_EQ(key, control) << "control keys always pass";
    }
}

TEST(CommonGen, ItemListLinesAreAppendedInsertedAndRemoved)
{
    DefaultCommonGen gen;
    QTreeWidget list;
    list.setColumnCount(10);
    auto add = [&](int position, const QString &no, const QString &code) {
        gen.fnInsertListView(&list, position, no, "1", code, code + " description", "10.000", "2", "1",
                             code.right(1), "1.5", "PCS");
    };
    add(0, "1", "A1");
    add(0, "2", "B2");
    add(0, "3", "C3");
    EXPECT_EQ(list.currentItem(), list.topLevelItem(2)) << "the line just added is the current one";
    // A line put at position 2 goes in before B2; the others stay and are numbered afresh.
    add(2, "2", "X9");
    const auto column = [&](int c) {
        QStringList texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts << list.topLevelItem(i)->text(c);
        return texts;
    };
    EXPECT_EQ(column(2), QStringList({"A1", "X9", "B2", "C3"}));
    EXPECT_EQ(column(0), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(list.topLevelItem(1)->text(9), "PCS");
    EXPECT_EQ(list.currentItem(), list.topLevelItem(1));

    list.setCurrentItem(list.topLevelItem(0));
    gen.fnDeleteListview(true, &list, true);
    EXPECT_EQ(column(2), QStringList({"X9", "B2", "C3"}));
    EXPECT_EQ(column(0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(list.currentItem(), list.topLevelItem(0));

    int index = 3;
    gen.fnDeleteListview(true, &list, true, &index);
    EXPECT_EQ(column(2), QStringList({"X9", "B2"}));
    EXPECT_EQ(index, 2);
}

TEST(CommonGen, ComboSelection)
{
    DefaultCommonGen gen;
    QComboBox combo;
    combo.addItem("Retail", 10);
    combo.addItem("Wholesale", 11);
    gen.SelectComboItemByValue(&combo, QVariant("11"));
    EXPECT_EQ(combo.currentIndex(), 1);
    gen.SelectComboItemByValue(&combo, 12);
    EXPECT_EQ(combo.currentIndex(), -1);
    gen.SelectComboItemByname(&combo, "wholesale");
    EXPECT_EQ(combo.currentIndex(), 1);
    gen.SelectComboItemByname(&combo, "Trade");
    EXPECT_EQ(combo.currentIndex(), -1);
}

// The list box reads its rows from its owner: it shows them, keeps none selected after a
// refill, and shows every text whole, however long, whatever the first row says.
#include "ListBox.h"
#include "support/FrameworkHarness.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

TEST(ListBox, RowsComeFromTheOwnerAndRefillsClearTheSelection)
{
    QStringList names = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                         QStringLiteral("A_VERY_LONG_NAME_THAT_GOES_ON_AND_ON_AND_ON")};
    fw::ListBox box;
    box.resize(170, 300);
    box.SetRows([&] { return static_cast<int>(names.size()); },
                [&](int row) { return names[row]; });
    box.show();
    processEvents();
    EXPECT_EQ(box.count(), 4);
    EXPECT_EQ(box.text(1), QStringLiteral("B"));
    const int wide = box.fontMetrics().horizontalAdvance(names[3]);
    EXPECT_GE(box.visualRect(box.model()->index(3, 0)).width(),
              std::min(wide, box.viewport()->width()))
        << "a long text is not cut to the first row's width";

    QSignalSpy picked(&box, &fw::ListBox::rowSelected);
    box.setCurrentRow(2);
    EXPECT_EQ(box.SelectedRow(), 2);
    EXPECT_EQ(picked.count(), 1);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.SelectedRow(), 1) << "the keys move the selection";

    // The same number of rows with new texts, and then one more.
    names[0] = QStringLiteral("RENAMED");
    box.Refill();
    EXPECT_EQ(box.SelectedRow(), -1);
    EXPECT_EQ(box.text(0), QStringLiteral("RENAMED"));
    names << QStringLiteral("E");
    box.Refill();
    EXPECT_EQ(box.count(), 5);
    EXPECT_EQ(box.text(4), QStringLiteral("E"));
    EXPECT_EQ(picked.count(), 2) << "a refill selects nothing";
}

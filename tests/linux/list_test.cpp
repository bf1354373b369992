// The list and scroll bar adapters over real widgets: what MainForm relies on
// that Qt does otherwise by itself.

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "app/qt/controls.h"
#include "app/qt/mark_list_widget.h"
#include "qstring_print.h"

namespace morvane::qt {
namespace {

class List : public testing::Test {
protected:
    void SetUp() override
    {
        list_->setGeometry(8, 16, 284, 112);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    QStringList Shown() const
    {
        QStringList texts;
        for (int i = 0; i < list_->count(); ++i) texts << list_->item(i)->text();
        return texts;
    }
    int Highlighted() const
    {
        const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.front().row();
    }

    QWidget window_;
    MarkListWidget* list_ = new MarkListWidget(&window_);
    ListAdapter adapter_{*list_};
};

TEST_F(List, TheWidgetShowsWhatItIsTold)
{
    EXPECT_EQ(adapter_.Show(std::vector<std::u16string>(32767, u"[000:00:001]")), std::size_t{32767});
    EXPECT_EQ(list_->count(), 32767);

    adapter_.Show({u"a", u"b"});
    EXPECT_FALSE(adapter_.Select(-1));
    EXPECT_FALSE(adapter_.Select(2));
    EXPECT_TRUE(adapter_.Insert(2, u"c") && adapter_.Insert(0, u"0") && adapter_.Remove(1));
    EXPECT_EQ(Shown(), (QStringList{"0", "b", "c"}));
}

TEST_F(List, OnlyTheUserRaisesSelectionEvents)
{
    QSignalSpy user(list_, &QListWidget::itemSelectionChanged);
    adapter_.Show({u"a", u"b", u"c", u"d"});
    EXPECT_TRUE(adapter_.Select(2));
    EXPECT_TRUE(adapter_.Insert(0, u"new"));
    EXPECT_EQ(Highlighted(), 3);
    // Qt would hand the highlight of a removed entry to its neighbour.
    EXPECT_TRUE(adapter_.Remove(3));
    EXPECT_EQ(Highlighted(), -1);
    adapter_.Show({});
    EXPECT_EQ(user.count(), 0);

    adapter_.Show({u"a", u"b"});
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(list_->item(1)).center());
    EXPECT_EQ(user.count(), 1);
    EXPECT_EQ(Highlighted(), 1);
}

TEST_F(List, TheExtentSetsTheSidewaysScrollAndRowsAreFoundByHeight)
{
    EXPECT_EQ(adapter_.ItemFromPoint(5, 5), -1);
    const std::u16string wide = u"[000:00:001] 注释:" + std::u16string(60, u'长');
    adapter_.Show({u"[000:00:002]", wide});
    const int extent = adapter_.TextWidth(wide).value_or(0) + 10;
    adapter_.SetHorizontalExtent(extent);
    QScrollBar& sideways = *list_->horizontalScrollBar();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sideways.maximum() == extent - list_->viewport()->width(); }))
        << sideways.maximum();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sideways.isVisible(); }));
    EXPECT_GE(list_->visualItemRect(list_->item(1)).width(), extent);  // drawn whole

    // Far right of a short entry, scrolled sideways, still finds it.
    sideways.setValue(sideways.maximum());
    const QRect first = list_->visualItemRect(list_->item(0));
    EXPECT_EQ(adapter_.ItemFromPoint(list_->viewport()->width() - 2, first.center().y()), 0);
    EXPECT_EQ(adapter_.ItemFromPoint(2, first.bottom() + first.height() + 3), -1);

    adapter_.SetHorizontalExtent(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sideways.maximum() == 0; })) << sideways.maximum();
}

TEST(ScrollAdapter, RangeChangesClampTheValueQuietly)
{
    QScrollBar bar(Qt::Horizontal);
    bar.setRange(0, 32767);
    bar.setValue(200);
    ScrollAdapter seek_bar(bar);
    QSignalSpy moved(&bar, &QScrollBar::valueChanged);
    seek_bar.SetRange(0, 120);
    EXPECT_EQ(seek_bar.Value(), 120);
    seek_bar.SetRange(130, 140);
    EXPECT_EQ(bar.minimum(), 130);
    EXPECT_EQ(bar.maximum(), 140);
    EXPECT_EQ(seek_bar.Value(), 130);
    EXPECT_EQ(moved.count(), 0);
}

} // namespace
} // namespace morvane::qt

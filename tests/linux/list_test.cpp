// The list and scroll bar adapters over real widgets: what MainForm relies on
// that Qt does otherwise by itself.

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/qt/controls.h"
#include "app/qt/mark_list_widget.h"

class ListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window_;
    morvane::qt::MarkListWidget* list_ = nullptr;
    std::unique_ptr<morvane::qt::ListAdapter> adapter_;

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

private slots:
    void init()
    {
        window_ = std::make_unique<QWidget>();
        list_ = new morvane::qt::MarkListWidget(window_.get());
        list_->setGeometry(8, 16, 284, 112);
        adapter_ = std::make_unique<morvane::qt::ListAdapter>(*list_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup()
    {
        adapter_.reset();
        window_.reset();
    }

    void theWidgetShowsWhatItIsTold()
    {
        QCOMPARE(adapter_->Show(std::vector<std::u16string>(32767, u"[000:00:001]")), std::size_t{32767});
        QCOMPARE(list_->count(), 32767);

        adapter_->Show({u"a", u"b"});
        QVERIFY(!adapter_->Select(-1));
        QVERIFY(!adapter_->Select(2));
        QVERIFY(adapter_->Insert(2, u"c") && adapter_->Insert(0, u"0") && adapter_->Remove(1));
        QCOMPARE(Shown(), (QStringList{"0", "b", "c"}));
    }

    void onlyTheUserRaisesSelectionEvents()
    {
        QSignalSpy user(list_, &QListWidget::itemSelectionChanged);
        adapter_->Show({u"a", u"b", u"c", u"d"});
        QVERIFY(adapter_->Select(2));
        QVERIFY(adapter_->Insert(0, u"new"));
        QCOMPARE(Highlighted(), 3);
        // Qt would hand the highlight of a removed entry to its neighbour.
        QVERIFY(adapter_->Remove(3));
        QCOMPARE(Highlighted(), -1);
        adapter_->Show({});
        QCOMPARE(user.count(), 0);

        adapter_->Show({u"a", u"b"});
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(list_->item(1)).center());
        QCOMPARE(user.count(), 1);
        QCOMPARE(Highlighted(), 1);
    }

    void theExtentSetsTheSidewaysScrollAndRowsAreFoundByHeight()
    {
        QCOMPARE(adapter_->ItemFromPoint(5, 5), -1);
        const std::u16string wide = u"[000:00:001] 注释:" + std::u16string(60, u'长');
        adapter_->Show({u"[000:00:002]", wide});
        const int extent = adapter_->TextWidth(wide).value_or(0) + 10;
        adapter_->SetHorizontalExtent(extent);
        QScrollBar& sideways = *list_->horizontalScrollBar();
        QTRY_COMPARE(sideways.maximum(), extent - list_->viewport()->width());
        QTRY_VERIFY(sideways.isVisible());
        QVERIFY(list_->visualItemRect(list_->item(1)).width() >= extent);  // drawn whole

        // Far right of a short entry, scrolled sideways, still finds it.
        sideways.setValue(sideways.maximum());
        const QRect first = list_->visualItemRect(list_->item(0));
        QCOMPARE(adapter_->ItemFromPoint(list_->viewport()->width() - 2, first.center().y()), 0);
        QCOMPARE(adapter_->ItemFromPoint(2, first.bottom() + first.height() + 3), -1);

        adapter_->SetHorizontalExtent(10);
        QTRY_COMPARE(sideways.maximum(), 0);
    }

    void rangeChangesClampTheValueQuietly()
    {
        QScrollBar bar(Qt::Horizontal);
        bar.setRange(0, 32767);
        bar.setValue(200);
        morvane::qt::ScrollAdapter seek_bar(bar);
        QSignalSpy moved(&bar, &QScrollBar::valueChanged);
        seek_bar.SetRange(0, 120);
        QCOMPARE(seek_bar.Value(), 120);
        seek_bar.SetRange(130, 140);
        QCOMPARE(bar.minimum(), 130);
        QCOMPARE(bar.maximum(), 140);
        QCOMPARE(seek_bar.Value(), 130);
        QCOMPARE(moved.count(), 0);
    }
};

QTEST_MAIN(ListTest)
#include "list_test.moc"

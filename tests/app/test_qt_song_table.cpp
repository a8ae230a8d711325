// The window's song table: its model, and the table operations as the core calls them, from the
// GUI thread and from other threads.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "app/qt_song_table.h"
#include "app/song_table_model.h"

using namespace gedan;

class QtSongTableTest : public QObject {
  Q_OBJECT

 private:
  // Lets the GUI thread serve queued calls until `done` is set (or 10 s have passed).
  static void ServeUntil(const std::atomic<bool>& done) {
    QDeadlineTimer limit(10000);
    while (!done && !limit.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }

 private slots:
  void operationsFollowTheTableRules() {
    SongTableModel model;
    QtSongTable table(&model);
    QCOMPARE(table.InsertItem(), 0);
    QCOMPARE(table.InsertItem(), 1);
    QCOMPARE(table.GetItemCount(), 2);
    QCOMPARE(table.GetCheckState(1), 0);
    table.SetItemText(1, kColumnName, "\xC4\xE3\xBA\xC3");  // GB18030 of 你好
    table.SetCheckState(1, 1);
    QCOMPARE(table.GetItemText(1, kColumnName), Text("\xC4\xE3\xBA\xC3"));
    QCOMPARE(table.GetCheckState(1), 1);
    // Missing rows and columns.
    QCOMPARE(table.GetItemText(2, 0), Text());
    QCOMPARE(table.GetItemText(0, kSongColumnCount), Text());
    QCOMPARE(table.GetCheckState(2), -1);
    QCOMPARE(table.GetCheckState(-1), -1);
    table.SetItemText(5, 0, "x");
    table.SetCheckState(5, 1);
    QCOMPARE(table.GetItemCount(), 2);

    table.DeleteAllItems();
    QCOMPARE(table.GetItemCount(), 0);
    QCOMPARE(model.rowCount(), 0);
  }

  void modelShowsTextsChecksAndTitles() {
    SongTableModel model;
    QtSongTable table(&model);
    const int row = table.InsertItem();
    table.SetItemText(row, kColumnName, "\xC4\xE3\xBA\xC3");
    table.SetCheckState(row, 1);
    model.PublishRows();

    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(model.data(model.index(row, kColumnName), Qt::DisplayRole).toString(),
             QString::fromUtf8("你好"));
    QCOMPARE(model.data(model.index(row, 0), Qt::CheckStateRole).value<Qt::CheckState>(),
             Qt::Checked);
    QVERIFY(!model.data(model.index(row, 1), Qt::CheckStateRole).isValid());
    QVERIFY(model.flags(model.index(row, 0)).testFlag(Qt::ItemIsUserCheckable));
    QVERIFY(!model.flags(model.index(row, 1)).testFlag(Qt::ItemIsUserCheckable));
    QVERIFY(!model.flags(model.index(row, 1)).testFlag(Qt::ItemIsEditable));

    const QStringList titles = {"索引", "歌名 [点击全选]", "hash",    "album_id",
                                "URL",  "已下载进度",      "下载状态"};
    const QList<int> widths = {50, 180, 200, 80, 50, 120, 80};
    for (int column = 0; column < 7; ++column) {
      QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
               titles[column]);
      QCOMPARE(SongTableModel::ColumnWidth(column), widths[column]);
    }

    // The user's click on a box goes through setData and is announced.
    QSignalSpy toggled(&model, &SongTableModel::CheckToggled);
    QVERIFY(model.setData(model.index(row, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(table.GetCheckState(row), 0);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled[0][0].toInt(), row);
    QCOMPARE(toggled[0][1].toInt(), 0);
  }

  void appendedRowsReachTheViewInBatches() {
    SongTableModel model;
    QtSongTable table(&model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 50; ++i) table.SetItemText(table.InsertItem(), 0, "r");
    // Counted at once for the core, shown to the view a moment later in one step.
    QCOMPARE(table.GetItemCount(), 50);
    QCOMPARE(model.rowCount(), 0);
    QTRY_COMPARE(model.rowCount(), 50);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.data(model.index(49, 0), Qt::DisplayRole).toString(), QStringLiteral("r"));

    // Published rows report their changes at once.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    table.SetItemText(3, kColumnStatus, "done");
    QCOMPARE(changed.count(), 1);

    table.DeleteAllItems();
    table.InsertItem();
    QCOMPARE(model.rowCount(), 0);
    QTRY_COMPARE(model.rowCount(), 1);
  }

  void callsFromAnotherThreadRunOnTheGuiThread() {
    SongTableModel model;
    QtSongTable table(&model);
    QThread* changedOn = nullptr;
    connect(
        &model, &QAbstractItemModel::dataChanged, this,
        [&] { changedOn = QThread::currentThread(); }, Qt::DirectConnection);
    model.PublishRows();

    std::atomic<bool> done = false;
    int row = -1;
    Text read;
    int checked = -1;
    std::thread engine([&] {
      row = table.InsertItem();
      table.SetItemText(row, kColumnProgress, "33% + 2.50KB");
      read = table.GetItemText(row, kColumnProgress);
      table.SetCheckState(row, 1);
      checked = table.GetCheckState(row);
      done = true;
    });
    ServeUntil(done);
    engine.join();

    QCOMPARE(row, 0);
    QCOMPARE(read, Text("33% + 2.50KB"));
    QCOMPARE(checked, 1);
    model.PublishRows();
    table.SetItemText(0, kColumnStatus, "x");
    QCOMPARE(changedOn, QThread::currentThread());
  }

  void detachingReleasesWaitingCallersAndEndsTheTable() {
    SongTableModel model;
    QtSongTable table(&model);
    table.InsertItem();

    // A caller waits for the GUI thread, which never serves it: detaching lets it go.
    std::atomic<bool> returned = false;
    std::thread engine([&] {
      table.SetItemText(0, kColumnStatus, "late");
      returned = true;
    });
    QTest::qSleep(50);
    QVERIFY(!returned);
    table.Detach();
    engine.join();
    QCOMPARE(model.GetText(0, kColumnStatus), Text());

    // From now on the table reads as empty and takes nothing, from any thread.
    int inserted = 0;
    int count = -1;
    int checked = 0;
    std::thread later([&] {
      inserted = table.InsertItem();
      count = table.GetItemCount();
      checked = table.GetCheckState(0);
      table.SetItemText(0, 0, "x");
    });
    later.join();
    QCOMPARE(inserted, -1);
    QCOMPARE(count, 0);
    QCOMPARE(checked, -1);
    QCOMPARE(table.InsertItem(), -1);
    QCOMPARE(table.GetItemText(0, 0), Text());
    QCOMPARE(model.Count(), 1);
  }
};

QTEST_MAIN(QtSongTableTest)
#include "test_qt_song_table.moc"

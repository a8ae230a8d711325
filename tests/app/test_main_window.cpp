// The main window: its controls as created, its handlers, and a song-list fetch run through it
// against a loopback share page.

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <limits>
#include <string>

#include "app/main_window.h"
#include "app/qt_window_side.h"
#include "support/loopback_server.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace gedan {

using testing::CannedResponse;
using testing::LoopbackServer;

namespace {

const char* const kModeMessage =
    "回调将不会有提示 自己看下载 目录  这个速度将超乎你的想象！快反应~  就是不提示 "
    "没有写回调接口返回信息";

template <typename Control>
Control* Find(const MainWindow& window, const char* name) {
  return window.findChild<Control*>(QString::fromUtf8(name));
}

// A share page in UTF-8 with `count` songs named "song <k>".
std::string SharePage(int count) {
  std::string songs = "[";
  for (int k = 0; k < count; ++k) {
    if (k > 0) songs += ",";
    songs += R"({"hash":"H)" + std::to_string(k) + R"(","song_name":"歌 )" + std::to_string(k) +
             R"(","album_id":")" + std::to_string(100 + k) + R"("})";
  }
  return "<html><head><meta charset=\"utf-8\"></head><script>var dataFromSmarty = " + songs +
         "],//当前页面歌曲信息\n</script></html>";
}

CannedResponse Page(const std::string& body) {
  CannedResponse response;
  response.body = body;
  return response;
}

// Closes every message box that comes up, noting caption, text, buttons and icon.
class MessageBoxCloser : public QObject {
 public:
  MessageBoxCloser() {
    connect(&timer_, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen << QStringList{box->windowTitle(), box->text(),
                          QString::number(static_cast<int>(box->standardButtons())),
                          QString::number(static_cast<int>(box->icon()))};
      box->done(QMessageBox::Ok);
    });
    timer_.start(10);
  }
  QList<QStringList> seen;

 private:
  QTimer timer_;
};

void ClickHeader(QTableView* view, int column) {
  QHeaderView* header = view->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Runs `probe` once, the first time the window lets events through while its table holds rows,
// that is in the middle of a fill (the request before it lets events through too).
void DuringFill(MainWindow& window, const std::function<void()>& probe) {
  QTimer::singleShot(0, [&window, probe] {
    if (window.songModel().Count() == 0) {
      DuringFill(window, probe);
    } else {
      probe();
    }
  });
}

}  // namespace

}  // namespace gedan

using namespace gedan;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QtEventPump pump_;
  QtMessageBox messages_;

 private slots:
  void initTestCase() {
    InstallEventPump(&pump_);
    InstallMessageBoxSink(&messages_);
  }
  void cleanupTestCase() {
    InstallEventPump(nullptr);
    InstallMessageBoxSink(nullptr);
  }

  void windowAndControlsAsCreated() {
    MainWindow window;
    QVERIFY(!window.isVisible());
    QCOMPARE(window.minimumSize(), QSize(789, 672));
    QCOMPARE(window.maximumSize(), QSize(789, 672));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(window.windowTitle().startsWith("gedan"));

    struct Control {
      const char* name;
      QRect geometry;
      QString text;
    };
    const QString directory =
        QStandardPaths::writableLocation(QStandardPaths::MusicLocation) + "/抖音歌曲cc/";
    const QList<Control> controls = {
        {"编辑框1", {55, 14, 568, 24}, {}},
        {"按钮_获取", {629, 14, 80, 24}, "获取列表"},
        {"超级列表框1", {8, 48, 768, 552}, {}},
        {"选择框1", {216, 600, 128, 16}, "利用 回调接口下载"},
        {"编辑框2", {8, 608, 184, 24}, directory},
        {"按钮_下载", {213, 616, 127, 27}, "下载选中歌曲"},
        {"透明标签1", {480, 608, 400, 32}, {}},
    };
    for (const Control& c : controls) {
      QWidget* widget = Find<QWidget>(window, c.name);
      QVERIFY2(widget != nullptr, c.name);
      QCOMPARE(widget->geometry(), c.geometry);
      if (c.text.isEmpty()) continue;
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), c.text);
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) QCOMPARE(edit->text(), c.text);
    }
    QCOMPARE(window.Directory(), Utf16ToAnsi(directory.toStdU16String()));

    const QString sample = Find<QLineEdit>(window, "编辑框1")->text();
    QVERIFY2(sample.startsWith("https://") && sample.contains("/share/"), qPrintable(sample));
    QVERIFY(!Find<QCheckBox>(window, "选择框1")->isChecked());
    QVERIFY(!window.ExternalMode());
    for (const char* name : {"编辑框1", "编辑框2"}) {
      auto* edit = Find<QLineEdit>(window, name);
      QVERIFY(!edit->isReadOnly());
      QCOMPARE(edit->echoMode(), QLineEdit::Normal);
      QCOMPARE(edit->maxLength(), std::numeric_limits<int>::max());
    }
    auto* label = Find<QLabel>(window, "透明标签1");
    QVERIFY(!label->text().isEmpty());
    QVERIFY(label->font().bold());
    QCOMPARE(label->font().pixelSize(), 19);
    QVERIFY(!label->autoFillBackground());

    auto* view = Find<QTableView>(window, "超级列表框1");
    QCOMPARE(view->model()->rowCount(), 0);
    QVERIFY(!view->isSortingEnabled());
    QVERIFY(!view->showGrid());
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    const QList<int> widths = {50, 180, 200, 80, 50, 120, 80};
    for (int column = 0; column < 7; ++column) {
      QCOMPARE(view->horizontalHeader()->sectionSize(column), widths[column]);
    }
  }

  void loadRunsTheCreatedHandlerWhileHiddenThenShowsCentred() {
    MainWindow window;
    bool hiddenDuringHandler = false;
    window.Load([&] { hiddenDuringHandler = !window.isVisible(); });
    QVERIFY(hiddenDuringHandler);
    QVERIFY(window.isVisible());
    const QRect screen = window.screen()->geometry();
    QCOMPARE(window.frameGeometry().size(), QSize(789, 672));
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(screen.x() + (screen.width() - 789) / 2,
                                                      screen.y() + (screen.height() - 672) / 2));
  }

  void nameHeaderChecksEveryRowAndOtherHeadersDoNothing() {
    MainWindow window;
    window.ShowCentred();
    auto* view = Find<QTableView>(window, "超级列表框1");
    SongTable& table = window.songTable();

    ClickHeader(view, 1);  // empty table: nothing to do
    QCOMPARE(table.GetItemCount(), 0);

    for (int row = 0; row < 4; ++row) table.SetItemText(table.InsertItem(), 0, ToText(row));
    window.songModel().PublishRows();
    table.SetCheckState(2, 1);
    for (int column : {0, 2, 3, 4, 5, 6}) {
      ClickHeader(view, column);
      QCOMPARE(table.GetCheckState(0), 0);
      QCOMPARE(table.GetCheckState(2), 1);
    }

    ClickHeader(view, 1);
    for (int row = 0; row < 4; ++row) QCOMPARE(table.GetCheckState(row), 1);
    // Rows unchecked since (a finished download) are checked again; nothing is ever sorted.
    table.SetCheckState(1, 0);
    table.SetCheckState(3, 0);
    ClickHeader(view, 1);
    for (int row = 0; row < 4; ++row) {
      QCOMPARE(table.GetCheckState(row), 1);
      QCOMPARE(table.GetItemText(row, 0), ToText(row));
    }
  }

  void modeMessageAppearsOnCheckingOnly() {
    MainWindow window;
    window.ShowCentred();
    auto* box = Find<QCheckBox>(window, "选择框1");
    MessageBoxCloser closer;

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QVERIFY(window.ExternalMode());
    QCOMPARE(closer.seen.size(), 1);
    QCOMPARE(closer.seen[0][0], QString::fromUtf8("信息："));
    QCOMPARE(closer.seen[0][1], QString::fromUtf8(kModeMessage));
    QCOMPARE(closer.seen[0][2], QString::number(static_cast<int>(QMessageBox::Ok)));
    QCOMPARE(closer.seen[0][3], QString::number(static_cast<int>(QMessageBox::NoIcon)));

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QTest::qWait(50);
    QCOMPARE(closer.seen.size(), 1);

    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(closer.seen.size(), 2);
  }

  void fetchFillsTheTableWithButtonsDisabledMeanwhile() {
    LoopbackServer server;
    server.Serve("/share", Page(SharePage(30)));
    MainWindow window;
    window.ShowCentred();
    auto* fetch = Find<QPushButton>(window, "按钮_获取");
    auto* download = Find<QPushButton>(window, "按钮_下载");
    auto* view = Find<QTableView>(window, "超级列表框1");
    Find<QLineEdit>(window, "编辑框1")->setText(QString::fromStdString(server.Url("/share")));
    int downloads = 0;
    window.SetDownloadHandler([&] { ++downloads; });

    bool probed = false;
    bool fetchEnabled = true;
    bool downloadEnabled = true;
    int rowsAtHeaderClick = 0;
    DuringFill(window, [&] {
      probed = true;
      fetchEnabled = fetch->isEnabled();
      downloadEnabled = download->isEnabled();
      // Neither button starts anything now; a header click works on the rows already there.
      QTest::mouseClick(fetch, Qt::LeftButton);
      QTest::mouseClick(download, Qt::LeftButton);
      window.FetchButtonClicked();
      rowsAtHeaderClick = window.songTable().GetItemCount();
      window.SongTableHeaderClicked(1);
    });
    QTest::mouseClick(fetch, Qt::LeftButton);

    QVERIFY(probed);
    QVERIFY(!fetchEnabled);
    QVERIFY(!downloadEnabled);
    QCOMPARE(downloads, 0);
    QCOMPARE(server.Requests().size(), std::size_t{1});
    QVERIFY(fetch->isEnabled());
    QVERIFY(download->isEnabled());

    SongTable& table = window.songTable();
    QCOMPARE(table.GetItemCount(), 30);
    QCOMPARE(view->model()->rowCount(), 30);
    QCOMPARE(view->model()->index(7, 1).data().toString(), QString::fromUtf8("歌 7"));
    QCOMPARE(table.GetItemText(29, kColumnUrl),
             Text("http://www.kugou.com/yy/index.php?r=play/getdata&hash=H29&album_id=129&_="));
    QVERIFY(rowsAtHeaderClick > 0 && rowsAtHeaderClick < 30);
    QCOMPARE(table.GetCheckState(rowsAtHeaderClick - 1), 1);
    QCOMPARE(table.GetCheckState(rowsAtHeaderClick), 0);

    // The download button's work runs the same way once nothing else runs.
    bool fetchEnabledInDownload = true;
    window.SetDownloadHandler([&] {
      ++downloads;
      fetchEnabledInDownload = fetch->isEnabled();
    });
    QTest::mouseClick(download, Qt::LeftButton);
    QCOMPARE(downloads, 1);
    QVERIFY(!fetchEnabledInDownload);
  }

  void failedFetchLeavesTheTableAsItWas() {
    LoopbackServer server;
    server.Serve("/share", Page(SharePage(3)));
    server.Serve("/plain", Page("<html>no songs here</html>"));
    MainWindow window;
    window.ShowCentred();
    auto* link = Find<QLineEdit>(window, "编辑框1");
    link->setText(QString::fromStdString(server.Url("/share")));
    window.FetchButtonClicked();
    window.songTable().SetCheckState(1, 1);
    window.songTable().SetItemText(1, kColumnStatus, "done");

    for (const std::string& url : {server.Url("/plain"), std::string("http://127.0.0.1:1/x")}) {
      link->setText(QString::fromStdString(url));
      window.FetchButtonClicked();
      QCOMPARE(window.songTable().GetItemCount(), 3);
      QCOMPARE(window.songTable().GetCheckState(1), 1);
      QCOMPARE(window.songTable().GetItemText(1, kColumnStatus), Text("done"));
    }
  }

  // The user closes the window while a fill is suspended in ProcessEvents: the fill stops, the
  // event loop ends with 0 once the handler has returned, and nothing touches the closed window.
  // It runs the application's event loop, so it comes last.
  void closingDuringAFillAbandonsItAndEndsTheLoop() {
    LoopbackServer server;
    server.Serve("/share", Page(SharePage(500)));
    MainWindow window;
    window.ShowCentred();
    Find<QLineEdit>(window, "编辑框1")->setText(QString::fromStdString(server.Url("/share")));
    bool handlerReturned = false;
    QTimer::singleShot(0, [&] {
      DuringFill(window, [&] { window.close(); });
      window.FetchButtonClicked();
      handlerReturned = true;
    });
    QTimer hang;  // a loop that does not end fails instead of hanging
    hang.callOnTimeout([] { QCoreApplication::exit(1); });
    hang.start(20000);

    QCOMPARE(QApplication::exec(), 0);

    QVERIFY(handlerReturned);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.busy());
    QVERIFY(window.songModel().Count() > 0);
    QVERIFY(window.songModel().Count() < 500);
    // Whatever still calls the table now finds it gone.
    QCOMPARE(window.songTable().InsertItem(), -1);
    QCOMPARE(window.songTable().GetItemCount(), 0);
  }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

#pragma once

// The program's one window: share link, fetch button, song table, mode check box, target
// directory, download button and a notice line, at fixed positions in a window of fixed size.
//
//   MainWindow window;            // created hidden, controls in place
//   window.Load(NoticeCheck);     // runs the created handler to its end, then shows it centred
//
// While a fetch or a download runs, both buttons are disabled and their clicks do nothing, so a
// fill never runs inside another one nor under a running download. Header clicks and the check
// box keep working. Closing the window detaches the song table: work still under way finds it
// empty and ends without touching the window.

#include <QWidget>
#include <functional>

#include "app/qt_song_table.h"
#include "app/song_table_model.h"
#include "text/value.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gedan {

class SongListView;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kOuterWidth = 789;
  static constexpr int kOuterHeight = 672;

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Raises the created event (`onCreated` runs to its end while the window is hidden), then shows
  // the window centred on its screen.
  void Load(const std::function<void()>& onCreated);
  void ShowCentred();

  // What the handlers read when they need it; nothing is cached.
  Text ShareLink() const;
  Text Directory() const;
  bool ExternalMode() const;
  SongTable& songTable() { return table_; }
  SongTableModel& songModel() { return model_; }
  bool busy() const { return busy_; }

  // The work of the download button, run like a fetch: both buttons disabled until it returns.
  void SetDownloadHandler(std::function<void()> handler);

  // The handlers.
  void FetchButtonClicked();
  void ModeCheckBoxClicked();
  void SongTableHeaderClicked(int column);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void CreateControls();
  // Runs `work` unless other work runs, with both buttons disabled meanwhile.
  void RunExclusive(const std::function<void()>& work);
  void SetButtonsEnabled(bool enabled);
  // Keeps the outer size (frame included) at kOuterWidth x kOuterHeight once the frame is known.
  void FitOuterSize();

  SongTableModel model_;
  QtSongTable table_;
  std::function<void()> downloadHandler_;
  bool busy_ = false;
  bool outerSizeFitted_ = false;

  QLineEdit* shareLinkEdit_ = nullptr;     // 编辑框1
  QPushButton* fetchButton_ = nullptr;     // 按钮_获取
  SongListView* songList_ = nullptr;       // 超级列表框1
  QCheckBox* modeCheckBox_ = nullptr;      // 选择框1
  QLineEdit* directoryEdit_ = nullptr;     // 编辑框2
  QPushButton* downloadButton_ = nullptr;  // 按钮_下载
  QLabel* noticeLabel_ = nullptr;          // 透明标签1
};

}  // namespace gedan

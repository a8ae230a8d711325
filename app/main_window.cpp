#include "app/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <limits>

#include "app/qt_text.h"
#include "app/song_list_view.h"
#include "catalogue/fetch_song_list.h"
#include "text/encoding.h"
#include "text/window_side.h"

namespace gedan {
namespace {

// The form of a share link of the service's playlists.
constexpr const char* kSampleShareLink =
    "https://www.kugou.com/share/2mGTaZ4CfV2.html?id=2mGTaZ4CfV2";
constexpr const char* kNotice = "贴入分享链接，获取后勾选下载";
constexpr const char* kModeMessage =
    "回调将不会有提示 自己看下载 目录  这个速度将超乎你的想象！快反应~  就是不提示 "
    "没有写回调接口返回信息";

// The user's music folder (XDG) with the download folder's name; the caller appends song names.
QString DefaultDirectory() {
  QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (music.isEmpty()) music = QDir::homePath();
  return QDir::cleanPath(music) + QString::fromUtf8("/抖音歌曲cc/");
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), table_(&model_) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("gedan 歌单下载"));
  // Until a window manager frames the window, its client area is its whole outer size.
  setFixedSize(kOuterWidth, kOuterHeight);
  CreateControls();
}

MainWindow::~MainWindow() {
  table_.Detach();
}

void MainWindow::CreateControls() {
  // The layout is fixed in pixels; a font of the size the layout was drawn for keeps the texts
  // inside their controls.
  QFont font = this->font();
  font.setPixelSize(12);
  setFont(font);

  shareLinkEdit_ = new QLineEdit(QString::fromUtf8(kSampleShareLink), this);
  shareLinkEdit_->setObjectName(QString::fromUtf8("编辑框1"));
  shareLinkEdit_->setGeometry(55, 14, 568, 24);

  fetchButton_ = new QPushButton(QString::fromUtf8("获取列表"), this);
  fetchButton_->setObjectName(QString::fromUtf8("按钮_获取"));
  fetchButton_->setGeometry(629, 14, 80, 24);

  songList_ = new SongListView(&model_, this);
  songList_->setObjectName(QString::fromUtf8("超级列表框1"));
  songList_->setGeometry(8, 48, 768, 552);

  modeCheckBox_ = new QCheckBox(QString::fromUtf8("利用 回调接口下载"), this);
  modeCheckBox_->setObjectName(QString::fromUtf8("选择框1"));
  modeCheckBox_->setGeometry(216, 600, 128, 16);
  modeCheckBox_->setChecked(false);

  directoryEdit_ = new QLineEdit(DefaultDirectory(), this);
  directoryEdit_->setObjectName(QString::fromUtf8("编辑框2"));
  directoryEdit_->setGeometry(8, 608, 184, 24);

  downloadButton_ = new QPushButton(QString::fromUtf8("下载选中歌曲"), this);
  downloadButton_->setObjectName(QString::fromUtf8("按钮_下载"));
  downloadButton_->setGeometry(213, 616, 127, 27);

  noticeLabel_ = new QLabel(QString::fromUtf8(kNotice), this);
  noticeLabel_->setObjectName(QString::fromUtf8("透明标签1"));
  noticeLabel_->setGeometry(480, 608, 400, 32);
  noticeLabel_->setAutoFillBackground(false);
  noticeLabel_->setAttribute(Qt::WA_TranslucentBackground);
  QFont bold = noticeLabel_->font();
  bold.setBold(true);
  bold.setPixelSize(19);
  noticeLabel_->setFont(bold);

  for (QLineEdit* edit : {shareLinkEdit_, directoryEdit_}) {
    edit->setMaxLength(std::numeric_limits<int>::max());
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    edit->setPalette(colours);
  }

  connect(fetchButton_, &QPushButton::clicked, this, [this] { FetchButtonClicked(); });
  connect(downloadButton_, &QPushButton::clicked, this, [this] {
    if (downloadHandler_) RunExclusive(downloadHandler_);
  });
  connect(modeCheckBox_, &QCheckBox::clicked, this, [this] { ModeCheckBoxClicked(); });
  connect(songList_, &SongListView::HeaderClicked, this,
          [this](int column) { SongTableHeaderClicked(column); });
}

void MainWindow::Load(const std::function<void()>& onCreated) {
  if (onCreated) onCreated();
  ShowCentred();
}

void MainWindow::ShowCentred() {
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kOuterWidth) / 2,
         area.y() + (area.height() - kOuterHeight) / 2);
  }
  show();
}

Text MainWindow::ShareLink() const {
  return FromQString(shareLinkEdit_->text());
}
Text MainWindow::Directory() const {
  return FromQString(directoryEdit_->text());
}
bool MainWindow::ExternalMode() const {
  return modeCheckBox_->isChecked();
}

void MainWindow::SetDownloadHandler(std::function<void()> handler) {
  downloadHandler_ = std::move(handler);
}

void MainWindow::FetchButtonClicked() {
  RunExclusive([this] {
    FetchSongList(ShareLink(), table_);
    model_.PublishRows();
  });
}

void MainWindow::ModeCheckBoxClicked() {
  if (!modeCheckBox_->isChecked()) return;
  static const Text message = Utf8ToAnsi(kModeMessage);
  ShowMessage(message);
}

void MainWindow::SongTableHeaderClicked(int column) {
  if (column != kColumnName) return;
  const int count = table_.GetItemCount();
  for (int row = 0; row < count; ++row) table_.SetCheckState(row, 1);
}

void MainWindow::RunExclusive(const std::function<void()>& work) {
  if (busy_) return;
  busy_ = true;
  SetButtonsEnabled(false);
  work();
  SetButtonsEnabled(true);
  busy_ = false;
}

void MainWindow::SetButtonsEnabled(bool enabled) {
  fetchButton_->setEnabled(enabled);
  downloadButton_->setEnabled(enabled);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Work suspended in ProcessEvents, and download reports from other threads, may still call the
  // table: from now on they find it empty and end.
  table_.Detach();
  QWidget::closeEvent(event);
}

// The frame's size is known once the window is shown, on some platforms only once the window
// manager has framed it, which then moves the window.
void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!outerSizeFitted_) FitOuterSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (!outerSizeFitted_ && isVisible()) FitOuterSize();
}

void MainWindow::FitOuterSize() {
  const QWindow* window = windowHandle();
  if (window == nullptr) return;
  const QMargins frame = window->frameMargins();
  if (frame.isNull()) return;
  outerSizeFitted_ = true;
  setFixedSize(kOuterWidth - frame.left() - frame.right(),
               kOuterHeight - frame.top() - frame.bottom());
  ShowCentred();
}

}  // namespace gedan

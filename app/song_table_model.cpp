#include "app/song_table_model.h"

#include "app/qt_text.h"

namespace gedan {
namespace {

struct ColumnLayout {
  const char* title;  // UTF-8
  int width;          // pixels
};

constexpr ColumnLayout kColumns[kSongColumnCount] = {
    {"索引", 50}, {"歌名 [点击全选]", 180}, {"hash", 200},    {"album_id", 80},
    {"URL", 50},  {"已下载进度", 120},      {"下载状态", 80},
};

}  // namespace

SongTableModel::SongTableModel(QObject* parent) : QAbstractTableModel(parent) {
  publishTimer_.setSingleShot(true);
  publishTimer_.setInterval(kPublishIntervalMs);
  connect(&publishTimer_, &QTimer::timeout, this, &SongTableModel::PublishRows);
}

QString SongTableModel::ColumnTitle(int column) {
  if (column < 0 || column >= kSongColumnCount) return {};
  return QString::fromUtf8(kColumns[column].title);
}

int SongTableModel::ColumnWidth(int column) {
  if (column < 0 || column >= kSongColumnCount) return 0;
  return kColumns[column].width;
}

bool SongTableModel::HasCell(int row, int column) const {
  return row >= 0 && row < Count() && column >= 0 && column < kSongColumnCount;
}

void SongTableModel::Clear() {
  publishTimer_.stop();
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  published_ = 0;
  endResetModel();
}

int SongTableModel::AppendRow() {
  rows_.emplace_back();
  if (!publishTimer_.isActive()) publishTimer_.start();
  return Count() - 1;
}

void SongTableModel::PublishRows() {
  publishTimer_.stop();
  if (published_ == Count()) return;
  beginInsertRows(QModelIndex(), published_, Count() - 1);
  published_ = Count();
  endInsertRows();
}

void SongTableModel::SetText(int row, int column, const Text& text) {
  if (!HasCell(row, column)) return;
  Row& cells = rows_[row];
  cells.texts[column] = text;
  cells.shown[column] = ToQString(text);
  if (!IsPublished(row)) return;
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

Text SongTableModel::GetText(int row, int column) const {
  return HasCell(row, column) ? rows_[row].texts[column] : Text();
}

int SongTableModel::CheckState(int row) const {
  if (!HasCell(row, 0)) return -1;
  return rows_[row].checked ? 1 : 0;
}

void SongTableModel::SetCheckState(int row, int state) {
  if (!HasCell(row, 0)) return;
  const bool checked = state != 0;
  if (rows_[row].checked == checked) return;
  rows_[row].checked = checked;
  if (!IsPublished(row)) return;
  const QModelIndex changed = index(row, 0);
  emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

int SongTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : published_;
}

int SongTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kSongColumnCount;
}

QVariant SongTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !HasCell(index.row(), index.column())) return {};
  const Row& cells = rows_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return cells.shown[index.column()];
    case Qt::CheckStateRole:
      if (index.column() != 0) return {};
      return cells.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

bool SongTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0) return false;
  const int state = value.value<Qt::CheckState>() == Qt::Checked ? 1 : 0;
  SetCheckState(index.row(), state);
  emit CheckToggled(index.row(), state);
  return true;
}

Qt::ItemFlags SongTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return ColumnTitle(section);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

}  // namespace gedan

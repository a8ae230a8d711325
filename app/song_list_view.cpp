#include "app/song_list_view.h"

#include <QHeaderView>
#include <QPalette>

namespace gedan {

SongListView::SongListView(SongTableModel* model, QWidget* parent) : QTableView(parent) {
  setModel(model);
  // A table view places rows by a fixed height without laying out every row again when one is
  // added, so a fill of thousands of rows stays linear.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);

  QHeaderView* header = horizontalHeader();
  header->setSectionsClickable(true);
  header->setSectionsMovable(false);
  header->setSortIndicatorShown(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  for (int column = 0; column < kSongColumnCount; ++column) {
    header->resizeSection(column, SongTableModel::ColumnWidth(column));
  }
  connect(header, &QHeaderView::sectionClicked, this, &SongListView::HeaderClicked);

  // The selected row keeps its highlight when the focus moves to another control.
  QPalette colours = palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

}  // namespace gedan

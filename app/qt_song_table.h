#pragma once

// The window's song table as the core sees it: every SongTable operation carried out on the
// model, on the GUI thread. A call from another thread (a download engine reporting progress)
// waits until the GUI thread has carried it out.
//
//   QtSongTable table(model);
//   FetchSongList(link, table);   // on the GUI thread: direct
//   table.Detach();               // the window closes: every later call does nothing
//
// After Detach() the table reads as empty (count 0, empty texts, check state -1), InsertItem()
// gives -1, and writes are dropped; threads waiting on a call are released at once.

#include <QPointer>

#include "app/gui_thread_calls.h"
#include "app/song_table_model.h"
#include "catalogue/song_table.h"

namespace gedan {

class QtSongTable : public SongTable {
 public:
  // Create on the GUI thread. The model is not owned.
  explicit QtSongTable(SongTableModel* model);

  void Detach();

  void DeleteAllItems() override;
  int InsertItem() override;
  void SetItemText(int row, int column, const Text& text) override;
  Text GetItemText(int row, int column) const override;
  int GetItemCount() const override;
  int GetCheckState(int row) const override;
  void SetCheckState(int row, int state) override;

 private:
  // Runs `work` with the model on the GUI thread, unless detached.
  template <typename Work>
  void WithModel(Work work) const;

  QPointer<SongTableModel> model_;
  mutable GuiThreadCalls calls_;
};

}  // namespace gedan

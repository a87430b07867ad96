#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/gdi.h"

namespace ui {

class ImageList;

enum class ColumnAlign : std::uint8_t { Left, Right };

struct ListColumn {
  TextArg caption{};
  int width = 50;  // designed at 96 DPI
  ColumnAlign align = ColumnAlign::Left;
};

// What OnData fills for one row. Texts are UTF-8 data; they are converted, and cut to the
// list's buffer, at the boundary. stateIndex -1: no state picture.
struct ListItemData {
  std::string caption{};
  std::vector<std::string> subItems{};  // column 1, 2, ...
  int stateIndex = -1;
  // Set by the list: the texts are asked for by a reader of the list (LVM_GETITEM and
  // LVM_GETITEMTEXT: screen readers, UI Automation, tests), not for its painting. A row may
  // then say in words what its state picture shows, which no reader can see.
  bool forReader = false;
};

struct ListViewArgs {
  Control* parent = nullptr;
  int left = 0, top = 0, width = 250, height = 150;
  Align align = Align::None;
  std::vector<ListColumn> columns{};
  bool gridLines = true;
  bool rowSelect = true;
  bool readOnly = true;
  bool multiSelect = false;
};

// A report-style list whose rows are not stored in it (owner data): it knows only the row
// count and asks OnData for the texts of a row whenever it draws one.
class ListView : public Control {
 public:
  explicit ListView(const ListViewArgs& args);
  ~ListView() override;

  // ---- columns
  void AddColumn(const ListColumn& column);
  [[nodiscard]] int ColumnCount() const { return static_cast<int>(columns_.size()); }
  void SetColumnCaption(int index, TextArg caption);
  [[nodiscard]] std::string ColumnCaption(int index) const;  // UTF-8
  [[nodiscard]] int ColumnWidth(int index) const;            // pixels
  void SetColumnWidth(int index, int width);

  // ---- rows
  // Sets the row count without repainting the whole list or scrolling it.
  void SetItemCount(int count);
  [[nodiscard]] int ItemCount() const { return itemCount_; }
  // The selected row, -1 for none.
  [[nodiscard]] int Selected() const;
  [[nodiscard]] int FocusedItem() const;
  // Selects one row (single selection: the others lose it); -1 clears the selection.
  void SelectItem(int index);
  void FocusItem(int index);
  void EnsureVisible(int index, bool partialOk = true);
  // Select, focus and scroll into view (a partly visible row counts as visible).
  void SelectFocusShow(int index);
  // Redraws the rows from OnData (cheaper than Repaint; no erase).
  void RedrawItems(int first, int last);

  // ---- measuring, in the list's own font
  [[nodiscard]] int TextWidth(std::string_view text) const;
  [[nodiscard]] int TextWidthWide(std::wstring_view text) const;

  // State pictures (LVSIL_STATE), drawn at the list's DPI; the image list is not owned and must
  // outlive the list.
  void SetStateImages(ImageList* images);

  // Row index and the record to fill; rows beyond the data are left as they come.
  std::function<void(int index, ListItemData& item)> OnData;

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;
  void BeforeDestroyWindow() override;
  bool HandleMessage(Message& message) override;
  bool HandleNotify(NMHDR& header, LRESULT& result) override;
  void FontChanged() override { measurer_.Forget(); }
  bool NameIsWindowText() const override { return true; }
  void DpiChanged(int oldDpi, int newDpi) override;

 private:
  void InsertColumnIntoWindow(int index);
  void AnswerDisplayInfo(LVITEMW& item);

  struct Column {
    std::wstring caption;
    int width;
    ColumnAlign align;
  };
  std::vector<Column> columns_;
  int itemCount_ = 0;
  int selected_ = -1;
  int focused_ = -1;
  bool gridLines_, rowSelect_, readOnly_, multiSelect_;
  ImageList* stateImages_ = nullptr;
  bool readerAsking_ = false;
  ListItemData scratch_;
  std::wstring textBuffer_;
  mutable TextMeasurer measurer_;  // one DC for all measuring, kept between calls
};

}  // namespace ui

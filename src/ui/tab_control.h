#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class TabControl;

struct TabSheetArgs {
  TabControl* control = nullptr;  // the tab control the sheet joins (at the end)
  TextArg caption{};              // "&&" shows as one "&"
  bool tabVisible = true;
};

// One page of a TabControl: a container filling the control's display area, shown while it
// is the active page. Its caption is the tab's text. A sheet is either a member of some
// object or owned by the tab control (AddSheet).
class TabSheet : public Control {
 public:
  explicit TabSheet(const TabSheetArgs& args);
  ~TabSheet() override;

  [[nodiscard]] TabControl& PageControl() const { return *control_; }
  // The position among all pages of the control, hidden ones included.
  [[nodiscard]] int PageIndex() const;
  // A hidden tab keeps its page and its place; it is just not shown in the row of tabs.
  [[nodiscard]] bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

 protected:
  CreateSpec GetCreateSpec() override;
  bool HandleMessage(Message& message) override;
  void TextChanged() override;

 private:
  friend class TabControl;
  TabControl* control_;
  bool tabVisible_;
};

struct TabControlArgs {
  Control* parent = nullptr;
  int left = 0, top = 0, width = 289, height = 193;
  Align align = Align::None;
  bool tabStop = false;
  int tabWidth = 0;  // designed at 96 DPI; 0: each tab as wide as its caption
};

// A tab control with one sheet per page (a page control). Pages are numbered in the order they
// were added, hidden tabs included; ActivePageIndex -1 means none. While no page is active, a
// page added with a visible tab becomes the active one (as the row of tabs itself selects its
// first tab).
//
// Setting ActivePageIndex from code raises no OnChange; a click on a tab or ActivatePage(i,
// true) (what the previous/next-tab commands use) raises it.
class TabControl : public Control {
 public:
  explicit TabControl(const TabControlArgs& args);
  ~TabControl() override;

  // A new sheet at the end, owned by this control.
  TabSheet& AddSheet(TextArg caption);
  // Destroys a sheet this control owns (with its children), or detaches a member sheet. When
  // it was active, the next page becomes active (the first when it was the last); no OnChange.
  void RemoveSheet(TabSheet& sheet);
  void RemoveSheet(int index) { RemoveSheet(Page(index)); }

  [[nodiscard]] int PageCount() const { return static_cast<int>(pages_.size()); }
  [[nodiscard]] TabSheet& Page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] int IndexOf(const TabSheet& sheet) const;

  [[nodiscard]] int ActivePageIndex() const { return active_; }
  [[nodiscard]] TabSheet* ActivePage() const;
  void SetActivePageIndex(int index) { ActivatePage(index, false); }
  void SetActivePage(TabSheet& sheet) { ActivatePage(IndexOf(sheet), false); }
  // -1 deactivates every page. A hidden page cannot be activated (nothing changes).
  void ActivatePage(int index, bool raiseChange);

  // The next (step 1) or previous (-1) page whose tab is shown, wrapping around from the last to
  // the first; nothing with fewer than two such pages. Raises OnChange.
  void ActivateNeighbour(int step);

  void SetSheetCaption(TabSheet& sheet, TextArg caption) { sheet.SetCaption(std::move(caption)); }

  [[nodiscard]] int TabWidth() const { return tabWidth_; }  // pixels
  void SetTabWidth(int width);

  // The display area (inside the tabs and the border), in this control's client coordinates.
  [[nodiscard]] RECT DisplayRect();

  std::function<void()> OnChange;

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;
  bool HandleMessage(Message& message) override;
  bool HandleNotify(NMHDR& header, LRESULT& result) override;
  bool NameIsWindowText() const override { return true; }
  void DpiChanged(int oldDpi, int newDpi) override;

 private:
  friend class TabSheet;
  void Register(TabSheet* sheet);
  void Unregister(TabSheet* sheet);
  void SheetCaptionChanged(TabSheet& sheet);
  void SheetVisibilityChanged(TabSheet& sheet);
  void RebuildTabs();
  void PlaceSheets();
  int TabItemOf(int pageIndex) const;
  int PageOfTabItem(int item) const;

  std::vector<TabSheet*> pages_;
  int active_ = -1;
  int tabWidth_;
};

}  // namespace ui

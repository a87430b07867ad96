#pragma once

#include <string>
#include <vector>

#include "app/dropdst.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

class TCalcFrame;

// The creation window: one tab per list page. CalcFiles takes the paths of a drop or of the
// command line, turns them into lists and runs one page per list.
class TCalcForm : public ui::Form {
 public:
  TCalcForm();
  ~TCalcForm() override;

  // The whole intake, every run included. The paths are replaced by their long forms. An error
  // of an automatic save ends the intake (the window is left usable) and leaves through its
  // exception.
  void CalcFiles(std::vector<std::string>& paths);
  // Opens one page for files and runs it; folder is the folder the list was made for, with a
  // trailing "\", or empty.
  void AddListPage(const std::vector<std::string>& files, const std::string& folder);
  // Appends the files of folder (and with "ディレクトリ再帰的検索" those of its sub-folders,
  // depth first) to files, each folder's files in locale order.
  void CollectFolder(const std::string& folder, std::vector<std::string>& files);
  // One page for the files of folder, then, with "ディレクトリ再帰的検索", the same for each
  // sub-folder.
  void CalcFolder(const std::string& folder);

  // The page of the active tab, or nullptr without tabs.
  [[nodiscard]] TCalcFrame* ActiveFrame() const;
  [[nodiscard]] TCalcFrame* Frame(int index) const;
  [[nodiscard]] int PageCount() const { return CalcPageControl.PageCount(); }
  // True from the start of an intake to its end.
  [[nodiscard]] bool InIntake() const { return intakeDepth_ > 0; }

  void FormCreate();
  void FormShow();
  void FormClose();
  void CalcPageControlChange();
  void MenuViewClick();
  void MenuSaveClick();
  void MenuCopyClick();
  void MenuPrevTabClick();
  void MenuNextTabClick();
  void MenuCancelClick();
  void MenuCloseClick();
  void DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);

  ui::TabControl CalcPageControl;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuView;
  ui::MenuItem& MenuSave;
  ui::MenuItem& MenuCopy;
  ui::MenuItem& N1;
  ui::MenuItem& MenuPrevTab;
  ui::MenuItem& MenuNextTab;
  ui::MenuItem& N2;
  ui::MenuItem& MenuCancelClose;
  TDropDst DropDst;

 private:
  // Esc cancels (during an intake) or closes.
  void BindCancelClose(bool cancel);
  // title + " - Calc - " + base folder of the active page, or closes the window without pages.
  void FinishIntake();
  void RemovePage(const TCalcFrame& frame);
  void RemoveAllPages();

  int intakeDepth_ = 0;
};

extern TCalcForm* CalcForm;

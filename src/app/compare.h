#pragma once

#include <string>
#include <vector>

#include "app/comparelist.h"
#include "app/dropdst.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

class TCompareFrame;

// The verification window: one tab per opened checksum list, each verified as it is opened.
// CompareFiles takes the paths of a drop or of the command line.
class TCompareForm : public ui::Form {
 public:
  TCompareForm();
  ~TCompareForm() override;
  TCompareForm(const TCompareForm&) = delete;
  TCompareForm& operator=(const TCompareForm&) = delete;

  // The whole intake: the given lists opened and verified in locale order, then the given
  // folders searched for lists. The paths are replaced by their long forms. Returns when all
  // are done or the intake was cancelled.
  void CompareFiles(std::vector<std::string>& paths);
  // Opens a tab for every checksum list among the files and verifies it before the next;
  // reportNonLists plays the error sound for each file that is none.
  void OpenLists(const std::vector<std::string>& paths, bool reportNonLists);
  // The lists of one folder, then (with "ディレクトリ再帰的検索") those of its sub-folders.
  void CompareFolder(const std::string& folder);

  // The page of the active tab, or nullptr without tabs.
  TCompareFrame* ActiveFrame();
  TCompareFrame* Frame(int index);
  int PageCount();
  // True from the start of an intake to its end (Esc cancels instead of closing).
  bool InIntake() const { return intakeDepth_ > 0; }

  void FormCreate();
  void FormShow();
  void FormClose();
  void ComparePageControlChange();
  void DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);
  void MenuPrevErrorClick();
  void MenuNextErrorClick();
  void MenuPrevTabClick();
  void MenuNextTabClick();
  void MenuCancelClick();
  void MenuCloseClick();

  ui::TabControl ComparePageControl;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuPrevError;
  ui::MenuItem& MenuNextError;
  ui::MenuItem& MenuPrevTab;
  ui::MenuItem& MenuNextTab;
  ui::MenuItem& MenuCancelClose;
  // State pictures of every page's rows: 0 blank (not verified), 1 blue circle (correct),
  // 2 red cross (error).
  ui::ImageList StateImageList;
  TDropDst DropDst;

 private:
  void SetPageCaption();
  void RemoveAllPages();
  void ActivateNeighbour(int step);

  int intakeDepth_ = 0;
};

extern TCompareForm* CompareForm;

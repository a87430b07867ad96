#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/job_form.h"
#include "engine/creation_run.h"
#include "engine/list_document.h"
#include "ui/file_drop_target.h"
#include "ui/image_list.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

class TCalcFrame;
class TCalcViewForm;

// The creation window: one tab per list page. CalcFiles takes the paths of a drop or of the
// command line, turns them into lists and runs one page per list.
class TCalcForm : public TJobForm {
 public:
  TCalcForm();
  ~TCalcForm() override;

  // The whole intake, every run included. The paths are replaced by their long forms. An error
  // of an automatic save ends the intake (the window is left usable) and leaves through its
  // exception.
  void CalcFiles(std::vector<std::string>& paths);
  // Opens one page for the files and runs it; folder is the folder the list was made for, with a
  // trailing "\", or empty. The page is saved automatically when the options ask for it. True
  // when it left files out. Nothing once cancel (the intake's) is requested.
  bool AddListPage(const TPageFiles& page, const std::string& folder, const TRunOptions& options,
                   const std::stop_token& cancel);

  // The text view that shows, saves and copies the pages' lists.
  void SetTextView(TCalcViewForm* view) { view_ = view; }
  // The checksum list of the active page (no list without one).
  [[nodiscard]] TListDocument ActiveDocument() const;

  // The page of the active tab, or nullptr without tabs.
  [[nodiscard]] TCalcFrame* ActiveFrame() const;
  [[nodiscard]] TCalcFrame* Frame(int index) const;

  void FormCreate();
  void FormShow();
  void FormClose();
  void CalcPageControlChange();
  void MenuViewClick();
  void MenuSaveClick();
  void MenuCopyClick();
  // "ハッシュをコピー" (Ctrl+Shift+C): the selected row's hash alone.
  void MenuCopyHashClick();
  // "クリップボードと比較" (Ctrl+V): the active page's rows against the digests on the clipboard.
  void MenuCompareClipboardClick();
  void DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);
  // Files or a folder chosen in a dialog go where a drop on this window goes.
  void MenuOpenClick();
  void MenuOpenFolderClick();

  // Where drops on this window go: the main window's creation handler.
  TFileDropEvent OnForwardDrop;

  ui::TabControl CalcPageControl;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuOpen;
  ui::MenuItem& MenuOpenFolder;
  ui::MenuItem& MenuSeparatorOpen;
  ui::MenuItem& MenuView;
  ui::MenuItem& MenuSave;
  ui::MenuItem& MenuCopy;
  ui::MenuItem& MenuCopyHash;
  ui::MenuItem& MenuCompareClipboard;
  ui::MenuItem& MenuSeparatorText;
  ui::MenuItem& MenuPrevTab;
  ui::MenuItem& MenuNextTab;
  ui::MenuItem& MenuSeparatorTabs;
  ui::MenuItem& MenuCancelClose;
  ui::ImageList StateImageList;  // the mark of a row that matches the clipboard
  TDropDst DropDst;

 private:
  // The page's list with the save defaults of the options.
  [[nodiscard]] TListDocument DocumentOf(const TCalcFrame* frame, const TRunOptions& options) const;
  // Saves a finished page automatically; true when it is to close ("自動保存後閉じる").
  bool AutoSavePage(const TCalcFrame& frame, const std::string& folder, const TRunOptions& options);
  // The text view follows the active tab.
  void RenderActivePageIfShown();
  // title + " - Calc - " + base folder of the active page, or closes the window without pages.
  void FinishIntake();
  // The page's rows against the clipboard's digests of the page's kind: nullopt when the
  // clipboard holds none, else whether a row matched.
  static std::optional<bool> CompareWithClipboard(TCalcFrame& frame);

  TCalcViewForm* view_ = nullptr;
};

extern TCalcForm* CalcForm;

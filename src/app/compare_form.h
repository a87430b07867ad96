#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "app/job_form.h"
#include "engine/hash_file.h"
#include "ui/dialogs.h"
#include "ui/file_drop_target.h"
#include "ui/image_list.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

class TCompareFrame;

// The verification window: one tab per opened checksum list, each verified as it is opened.
// CompareFiles takes the paths of a drop or of the command line.
class TCompareForm : public TJobForm {
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
  // reportNonLists gives each file that is none a tab of its own that says so (ShowNoList) and
  // plays the error sound, where otherwise it is passed over. A file that cannot be read gets
  // such a tab whatever reportNonLists says (ShowUnreadable). Stops once cancel (the intake's) is
  // requested.
  void OpenLists(const std::vector<std::string>& paths, bool reportNonLists, const std::stop_token& cancel);
  // A tab for a file or folder (with a trailing "\") that could not be read or listed, whose
  // one row says why, and the error sound.
  void ShowUnreadable(const std::string& path, THashFailure reason);
  // Whether the last intake found no list to verify (only files that are none, or nothing).
  [[nodiscard]] bool OpenedNoList() const { return openedNoList_; }

  // The page of the active tab, or nullptr without tabs.
  [[nodiscard]] TCompareFrame* ActiveFrame() const;
  [[nodiscard]] TCompareFrame* Frame(int index) const;

  void FormCreate();
  void FormShow();
  void FormClose();
  void ComparePageControlChange();
  void DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);
  // Lists chosen in the open dialog go where a drop on this window goes.
  void MenuOpenClick();
  void MenuPrevErrorClick();
  void MenuNextErrorClick();
  void MenuCopyErrorsClick();
  void MenuFindUnlistedClick();
  // Brings the active page's list up to date (TCompareFrame::UpdateList) as an intake of its
  // own, so that Esc cancels its hashing; nothing while another intake runs.
  void MenuUpdateListClick();
  // The same for every page whose run is over, one after the other: a command-line update.
  void UpdateLists();
  void MenuSaveReportClick() { SaveReport(false); }
  void MenuSaveAllReportsClick() { SaveReport(true); }
  // Asks for a file through ReportDialog and writes the rows of the active page (or of every
  // page) there as CSV in UTF-8 with a byte-order mark; a file that cannot be written shows the
  // same error box as a list. False when nothing was written.
  bool SaveReport(bool allPages);

  // Where drops on this window go: the main window's verification handler.
  TFileDropEvent OnForwardDrop;

  ui::TabControl ComparePageControl;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuOpen;
  ui::MenuItem& MenuSeparatorOpen;
  ui::MenuItem& MenuPrevError;
  ui::MenuItem& MenuNextError;
  ui::MenuItem& MenuCopyErrors;
  ui::MenuItem& MenuFindUnlisted;
  ui::MenuItem& MenuUpdateList;
  ui::MenuItem& MenuSeparatorReports;
  ui::MenuItem& MenuSaveReport;
  ui::MenuItem& MenuSaveAllReports;
  ui::MenuItem& MenuSeparatorErrors;
  ui::MenuItem& MenuPrevTab;
  ui::MenuItem& MenuNextTab;
  ui::MenuItem& MenuSeparatorTabs;
  ui::MenuItem& MenuCancelClose;
  // State pictures of every page's rows: 0 blank (not verified), 1 blue circle (correct),
  // 2 red cross (error).
  ui::ImageList StateImageList;
  TDropDst DropDst;
  ui::SaveDialog ReportDialog;

 private:
  void SetPageCaption();
  // UpdateList of the page; a list that cannot be written shows the error box.
  void UpdatePage(TCompareFrame& frame);
  // A new tab for path, named by its last component, with the path as its hint.
  TCompareFrame& AddPathPage(const std::string& path);

  std::size_t listsOpened_ = 0;
  bool openedNoList_ = false;
};

extern TCompareForm* CompareForm;

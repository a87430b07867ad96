#pragma once

#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "app/list_page.h"
#include "app/sound_kind.h"
#include "engine/options.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"
#include "win/folder.h"

// What the creation and the verification window share: one tab per list page, intakes that can
// nest (a drop during a run starts one inside it), each with a cancel of its own, Esc that
// cancels this window's intakes while any runs and closes otherwise, the previous/next tab
// commands, and closing, which cancels this window's intakes and ends a command-line run. The
// program wires in where options come from and how sounds play, so that no job window reaches
// into the main window.
class TJobForm : public ui::Form {
 public:
  explicit TJobForm(const ui::FormArgs& args);
  ~TJobForm() override;

  // The options as the main window holds them now.
  std::function<TRunOptions()> ReadOptions;
  TPlaySound PlaySound;

  [[nodiscard]] int PageCount() const { return pages_->PageCount(); }
  // The page of the tab at index, or nullptr.
  [[nodiscard]] TListPage* PageAt(int index) const;
  // True from the start of an intake to its end.
  [[nodiscard]] bool InIntake() const { return !intakes_.empty(); }

  void MenuPrevTabClick() { ActivateNeighbour(-1); }
  void MenuNextTabClick() { ActivateNeighbour(1); }
  // Asks every intake of this window, nested ones and the ones around them, to stop; another
  // window's runs go on.
  void MenuCancelClick();
  void MenuCloseClick() { Close(); }

 protected:
  // The commands every job window's menu has: "前のタブ" (Shift+Tab), "次のタブ" (Tab) and
  // "キャンセル/閉じる(&C)" (Esc).
  ui::MenuItem& AddPrevTabItem(ui::PopupMenu& menu);
  ui::MenuItem& AddNextTabItem(ui::PopupMenu& menu);
  ui::MenuItem& AddCancelCloseItem(ui::PopupMenu& menu);
  // "開く(&O)..." (Ctrl+O): what the window takes, chosen in a dialog.
  static ui::MenuItem& AddOpenItem(ui::PopupMenu& menu, std::function<void()> onClick);
  // The form's tab control and its Esc command; the constructor of a job window calls this once
  // its components exist.
  void BindPages(ui::TabControl& pages, ui::MenuItem& cancelClose);

  // Lets the window's messages run while a long folder is listed, as a run does between files.
  inline static const win::ListingBreak kAnswerMessages = [] { ui::App().ProcessMessages(); };

  // One intake and its cancel, which its runs read and which only this window requests. Esc
  // cancels while any intake of the window runs and closes again once the outermost has ended,
  // also when an error ends it.
  class IntakeScope {
   public:
    explicit IntakeScope(TJobForm& form);
    IntakeScope(const IntakeScope&) = delete;
    IntakeScope& operator=(const IntakeScope&) = delete;
    ~IntakeScope();

    [[nodiscard]] std::stop_token Cancel() const { return cancel_.get_token(); }
    [[nodiscard]] bool Cancelled() const { return cancel_.stop_requested(); }

   private:
    TJobForm& form_;
    std::stop_source cancel_;
  };

  // A new tab with the page made for it, active, before its run starts.
  template <typename Page>
  Page& AddPage(const std::string& caption) {
    ui::TabSheet& sheet = pages_->AddSheet(TabCaption(caption));
    sheet.SetShowHint(true);
    Page& page = sheet.Adopt(std::make_unique<Page>(sheet));
    page.SetAccessibleName(caption);
    pages_->SetActivePage(sheet);
    // Making a page takes a while; programs that sent a message meanwhile wait for the answer.
    ui::App().AnswerSentMessages();
    return page;
  }
  void RemovePage(const TListPage& page);
  // Every page whose run is not on the stack (its window was closed during the run, and a new
  // intake came before the run noticed).
  void RemoveIdlePages();
  // The options of this moment; the defaults when nothing is wired.
  [[nodiscard]] TRunOptions Options() const { return ReadOptions ? ReadOptions() : TRunOptions{}; }
  void Play(TSoundKind kind) const {
    if (PlaySound) PlaySound(kind);
  }
  // Closing: a command-line run (main window hidden) ends the program; this window's runs stop.
  void CloseJob();

 private:
  // A tab shows "&" as the mark of an access key; a name is shown as it is.
  static std::string TabCaption(const std::string& name);
  // One tab to the left or right, wrapping around; nothing without a second tab.
  void ActivateNeighbour(int step);
  void BindCancelClose(bool cancel);

  ui::TabControl* pages_ = nullptr;
  ui::MenuItem* cancelClose_ = nullptr;
  std::vector<std::stop_source> intakes_;  // the cancels of the intakes running now, innermost last
};

#include "app/calc_form.h"

#include "app/calc_frame.h"
#include "app/calc_view_form.h"
#include "app/fonts.h"
#include "app/path_choosers.h"
#include "app/state_pictures.h"
#include "core/codepage.h"
#include "core/pasted_digest.h"
#include "core/path.h"
#include "engine/intake.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "win/user_locale.h"

TCalcForm* CalcForm = nullptr;

namespace {

// The name of a page's tab: "/" for loose files, else the folder's last component ("" for a
// drive root).
std::string PageName(const std::string& folder) {
  if (folder.empty()) return "/";
  return ExtractFileName(ExcludeTrailingPathDelimiter(folder, IsNeverLeadByte), IsNeverLeadByte);
}

}  // namespace

TCalcForm::TCalcForm()
    : TJobForm({.caption = ui::App().WideTitle() + L" - Calc",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .minWidth = 160,
                .minHeight = 160,
                .font = kFixedPitchFont,
                .windowOnDemand = true}),
      CalcPageControl({.parent = this, .align = ui::Align::Client, .tabStop = false}),
      MenuOpen(AddOpenItem(PopupMenu, [this] { MenuOpenClick(); })),
      MenuOpenFolder(PopupMenu.Add({.caption = u8"フォルダを開く(&D)...",
                                    .shortcut = {.key = 'O', .shift = true, .ctrl = true},
                                    .onClick = [this] { MenuOpenFolderClick(); }})),
      MenuSeparatorOpen(PopupMenu.AddSeparator()),
      MenuView(PopupMenu.Add(
          {.caption = u8"テキスト表示(&V)", .shortcut = {.key = 'V'}, .onClick = [this] { MenuViewClick(); }})),
      MenuSave(
          PopupMenu.Add({.caption = u8"保存(&S)", .shortcut = {.key = 'S'}, .onClick = [this] { MenuSaveClick(); }})),
      MenuCopy(PopupMenu.Add({.caption = u8"クリップボードにコピー(&C)",
                              .shortcut = {.key = 'C'},
                              .onClick = [this] { MenuCopyClick(); }})),
      MenuCopyHash(PopupMenu.Add({.caption = u8"ハッシュをコピー(&H)",
                                  .shortcut = {.key = 'C', .shift = true, .ctrl = true},
                                  .onClick = [this] { MenuCopyHashClick(); }})),
      MenuCompareClipboard(PopupMenu.Add({.caption = u8"クリップボードと比較(&P)",
                                          .shortcut = {.key = 'V', .ctrl = true},
                                          .onClick = [this] { MenuCompareClipboardClick(); }})),
      MenuSeparatorText(PopupMenu.AddSeparator()),
      MenuPrevTab(AddPrevTabItem(PopupMenu)),
      MenuNextTab(AddNextTabItem(PopupMenu)),
      MenuSeparatorTabs(PopupMenu.AddSeparator()),
      MenuCancelClose(AddCancelCloseItem(PopupMenu)),
      StateImageList(kStatePictureSize, kStatePictureSize),
      DropDst(this) {
  CalcForm = this;
  AddStatePictures(StateImageList);
  BindPages(CalcPageControl, MenuCancelClose);
  CalcPageControl.SetAccessibleName(u8"作成リスト");
  CalcPageControl.SetPopupMenu(&PopupMenu);
  CalcPageControl.OnChange = [this] { CalcPageControlChange(); };
  DropDst.SetTarget(htForm);
  DropDst.OnFileDrop = [this](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    DropDstFileDrop(sender, files, x, y);
  };
  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  OnClose = [this] { FormClose(); };
  DoCreate();
  DropDst.Loaded();
}

TCalcForm::~TCalcForm() {
  if (CalcForm == this) CalcForm = nullptr;
}

TCalcFrame* TCalcForm::Frame(int index) const { return dynamic_cast<TCalcFrame*>(PageAt(index)); }

TCalcFrame* TCalcForm::ActiveFrame() const { return Frame(CalcPageControl.ActivePageIndex()); }

void TCalcForm::CalcFiles(std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const IntakeScope intake(*this);
  SetCaption(ui::App().Title() + " - Calc - Wait");
  if (Visible()) {
    BringToFront();
  } else {
    Show();
  }
  // Programs that sent the window a message while it was made wait for the answer; a cancel
  // queued meanwhile still finds the page.
  ui::App().AnswerSentMessages();
  const TIntakePaths sorted = SortIntake(paths);
  const TRunOptions options = Options();
  bool leftOut = false;
  try {
    PlanCreationPages(
        sorted, options.dirList, options.dirRecursive,
        [this, &leftOut, &intake](const TPageFiles& page, const std::string& folder) {
          // Each page reads the options (the hash kind among them) when it starts.
          leftOut = AddListPage(page, folder, Options(), intake.Cancel()) || leftOut;
        },
        kAnswerMessages);
  } catch (...) {
    // A failed automatic save ends the intake here; the error is reported by whoever started
    // it. The window stays usable: Esc closes it again and the caption names the active page.
    FinishIntake();
    throw;
  }

  // Files that have no row in their list make the end an error, whose sound tells at once.
  if (options.doneBeep) {
    Play(intake.Cancelled() ? TSoundKind::skCancel : leftOut ? TSoundKind::skError : TSoundKind::skDone);
  }
  FinishIntake();
}

void TCalcForm::FinishIntake() {
  if (const TCalcFrame* frame = ActiveFrame()) {
    SetCaption(ui::App().Title() + " - Calc - " + frame->BaseFolder());
  } else {
    Close();
  }
  if (Visible()) BringToFront();
}

bool TCalcForm::AddListPage(const TPageFiles& page, const std::string& folder, const TRunOptions& options,
                            const std::stop_token& cancel) {
  if (cancel.stop_requested() || page.Empty()) return false;
  TCalcFrame& frame = AddPage<TCalcFrame>(PageName(folder));
  const TRunResult result = frame.RunCalc(page, options, cancel);
  if (result.cancelled) return result.leftOut > 0;
  // A download's digest copied from its web page before: the one file's result shows at once,
  // and a mismatch ends the intake with the error sound.
  const bool mismatch = frame.Entries.size() == 1 && frame.LeftOut.empty() && CompareWithClipboard(frame) == false;
  // A page that left files out stays open, saved or not: the user has to see what is missing.
  if (AutoSavePage(frame, folder, options) && result.leftOut == 0) RemovePage(frame);
  return result.leftOut > 0 || mismatch;
}

bool TCalcForm::AutoSavePage(const TCalcFrame& frame, const std::string& folder, const TRunOptions& options) {
  // A page without rows has no list: nothing to save, and no reason to close it unseen.
  if (view_ == nullptr || !AutoSaveApplies(options, !folder.empty()) || frame.Entries.empty()) {
    RenderActivePageIfShown();
    return false;
  }
  // This page, also when the user has switched to another tab meanwhile.
  view_->Render(DocumentOf(&frame, options));
  const bool saved = view_->AutoSave(options.autoSaveForceOverwrite);
  // The text view follows the active tab; put it back when it shows.
  if (view_->Visible() && ActiveFrame() != &frame) view_->Render(ActiveDocument());
  // A list whose overwriting the user declined was not saved: the page stays for a save by hand.
  return saved && options.autoSaveClose;
}

TListDocument TCalcForm::DocumentOf(const TCalcFrame* frame, const TRunOptions& options) const {
  if (frame == nullptr) return {};
  return MakeListDocument(frame->Kind(), frame->Entries, frame->BaseFolder(), frame->TotalText(), options);
}

TListDocument TCalcForm::ActiveDocument() const { return DocumentOf(ActiveFrame(), Options()); }

void TCalcForm::RenderActivePageIfShown() {
  if (view_ != nullptr && view_->Visible()) view_->Render(ActiveDocument());
}

void TCalcForm::FormCreate() {
  SetBounds(ui::ScreenWidth() / 2 - Width() / 2, ui::ScreenHeight() / 2 - Height() / 2, Width(), Height());
}

void TCalcForm::FormShow() { RemoveIdlePages(); }

void TCalcForm::FormClose() { CloseJob(); }

void TCalcForm::CalcPageControlChange() {
  RenderActivePageIfShown();
  if (const TCalcFrame* frame = ActiveFrame()) SetCaption(ui::App().Title() + " - Calc - " + frame->BaseFolder());
}

void TCalcForm::MenuViewClick() {
  if (view_ == nullptr) return;
  view_->Render(ActiveDocument());
  view_->Show();
}

void TCalcForm::MenuSaveClick() {
  if (view_ == nullptr) return;
  view_->Render(ActiveDocument());
  view_->MenuSaveClick();
}

void TCalcForm::MenuCopyClick() {
  if (view_ == nullptr) return;
  view_->Render(ActiveDocument());
  view_->MenuCopyClick();
}

void TCalcForm::MenuCopyHashClick() {
  const TCalcFrame* frame = ActiveFrame();
  const std::string hash = frame != nullptr ? frame->SelectedHash() : std::string();
  if (hash.empty() || !ui::SetClipboardText(hash)) Play(TSoundKind::skError);
}

void TCalcForm::MenuCompareClipboardClick() {
  TCalcFrame* frame = ActiveFrame();
  if (frame == nullptr || frame->Running() || frame->Entries.empty()) {
    Play(TSoundKind::skError);
    return;
  }
  const std::optional<bool> matched = CompareWithClipboard(*frame);
  if (!matched) frame->ShowNoDigest();
  if (matched != true) Play(TSoundKind::skError);
}

std::optional<bool> TCalcForm::CompareWithClipboard(TCalcFrame& frame) {
  const std::optional<std::string> text = ui::ClipboardText();
  const auto digestBytes = static_cast<std::size_t>(HashTextLength(frame.Kind()) / 2);
  const std::vector<std::string> digests = text ? DigestsInText(*text, digestBytes) : std::vector<std::string>{};
  if (digests.empty()) return std::nullopt;
  return frame.ShowMatches(digests);
}

void TCalcForm::MenuOpenClick() { DropDst.DropPaths(ChooseFiles()); }

void TCalcForm::MenuOpenFolderClick() { DropDst.DropPaths(ChooseFolder()); }

void TCalcForm::DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y) {
  if (OnForwardDrop) OnForwardDrop(Sender, Files, X, Y);
}

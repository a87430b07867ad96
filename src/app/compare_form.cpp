#include "app/compare_form.h"

#include <optional>
#include <utility>

#include "app/compare_frame.h"
#include "app/fonts.h"
#include "app/list_file_writer.h"
#include "app/path_choosers.h"
#include "app/state_pictures.h"
#include "core/codepage.h"
#include "core/path.h"
#include "core/tab_text.h"
#include "core/utf8.h"
#include "engine/intake.h"
#include "engine/list_file.h"
#include "engine/sibling_list.h"
#include "ui/application.h"
#include "win/user_locale.h"

TCompareForm* CompareForm = nullptr;

TCompareForm::TCompareForm()
    : TJobForm({.caption = u8"Ruvo - Compare",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .font = kProportionalFont,
                .windowOnDemand = true}),
      ComparePageControl({.parent = this, .align = ui::Align::Client, .tabStop = false}),
      MenuOpen(AddOpenItem(PopupMenu, [this] { MenuOpenClick(); })),
      MenuSeparatorOpen(PopupMenu.AddSeparator()),
      MenuPrevError(PopupMenu.Add({.caption = u8"前のエラー",
                                   .shortcut = {.key = VK_UP, .ctrl = true},
                                   .onClick = [this] { MenuPrevErrorClick(); }})),
      MenuNextError(PopupMenu.Add({.caption = u8"次のエラー",
                                   .shortcut = {.key = VK_DOWN, .ctrl = true},
                                   .onClick = [this] { MenuNextErrorClick(); }})),
      MenuCopyErrors(PopupMenu.Add({.caption = u8"エラーをコピー",
                                    .shortcut = {.key = 'C', .ctrl = true},
                                    .onClick = [this] { MenuCopyErrorsClick(); }})),
      MenuFindUnlisted(PopupMenu.Add({.caption = u8"リストにないファイルを検出",
                                      .shortcut = {.key = 'U', .ctrl = true},
                                      .onClick = [this] { MenuFindUnlistedClick(); }})),
      MenuUpdateList(PopupMenu.Add({.caption = u8"リストを更新(&U)",
                                    .shortcut = {.key = 'U', .shift = true, .ctrl = true},
                                    .onClick = [this] { MenuUpdateListClick(); }})),
      MenuSeparatorReports(PopupMenu.AddSeparator()),
      MenuSaveReport(PopupMenu.Add({.caption = u8"レポートを保存(&R)...",
                                    .shortcut = {.key = 'S', .ctrl = true},
                                    .onClick = [this] { MenuSaveReportClick(); }})),
      MenuSaveAllReports(PopupMenu.Add({.caption = u8"全タブのレポートを保存...",
                                        .shortcut = {.key = 'S', .shift = true, .ctrl = true},
                                        .onClick = [this] { MenuSaveAllReportsClick(); }})),
      MenuSeparatorErrors(PopupMenu.AddSeparator()),
      MenuPrevTab(AddPrevTabItem(PopupMenu)),
      MenuNextTab(AddNextTabItem(PopupMenu)),
      MenuSeparatorTabs(PopupMenu.AddSeparator()),
      MenuCancelClose(AddCancelCloseItem(PopupMenu)),
      StateImageList(kStatePictureSize, kStatePictureSize),
      DropDst(this) {
  if (CompareForm == nullptr) CompareForm = this;
  BindPages(ComparePageControl, MenuCancelClose);
  ComparePageControl.SetAccessibleName(u8"比較リスト");
  AddStatePictures(StateImageList);

  ComparePageControl.SetPopupMenu(&PopupMenu);
  ComparePageControl.OnChange = [this] { ComparePageControlChange(); };
  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  OnClose = [this] { FormClose(); };

  DropDst.SetTarget(htForm);
  DropDst.OnFileDrop = [this](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    DropDstFileDrop(sender, files, x, y);
  };
  DropDst.Loaded();
  DoCreate();
}

TCompareForm::~TCompareForm() {
  if (CompareForm == this) CompareForm = nullptr;
}

void TCompareForm::CompareFiles(std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const std::string title = ui::App().Title();
  {
    const IntakeScope intake(*this);
    SetCaption(title + " - Compare - Wait");
    Show();
    // Programs that sent the window a message while it was made wait for the answer; a cancel
    // queued meanwhile still finds the page.
    ui::App().AnswerSentMessages();
    const TIntakePaths sorted = SortIntake(paths);
    const TRunOptions options = Options();
    listsOpened_ = 0;
    PlanVerificationLists(
        sorted, options.dirRecursive,
        [this, &intake](const std::vector<std::string>& files, bool reportNonLists) {
          OpenLists(files, reportNonLists, intake.Cancel());
        },
        [this](const TLeftOutPath& folder) { ShowUnreadable(folder.path, folder.reason); }, intake.Cancel(),
        kAnswerMessages);
    openedNoList_ = listsOpened_ == 0;
    if (options.doneBeep) Play(intake.Cancelled() ? TSoundKind::skCancel : TSoundKind::skDone);
    SetCaption(title + " - Compare - Result");
  }
  if (PageCount() == 0) {
    Close();
  } else {
    SetPageCaption();
  }
  if (Visible()) BringToFront();
}

void TCompareForm::OpenLists(const std::vector<std::string>& paths, bool reportNonLists,
                             const std::stop_token& cancel) {
  for (const std::string& path : paths) {
    if (cancel.stop_requested()) return;
    TListRead read = ReadChecksumList(path);
    if (read.failure != THashFailure::None) {
      // It may well be a list: whoever gave it learns that it was not verified.
      ShowUnreadable(path, read.failure);
      continue;
    }
    const bool isList = read.list.Kind() != THashType::None;
    // A folder's other files are simply no lists; a file given by name had to be one.
    if (!isList && !reportNonLists) continue;
    if (!isList) {
      // A download: verified against the list published beside it that names it.
      TSiblingSearch sibling = FindSiblingList(path);
      if (sibling.found) {
        ++listsOpened_;
        TCompareFrame& frame = AddPathPage(sibling.found->listPath);
        frame.KeepToTheEntry();
        frame.StartCompare(sibling.found->listPath, std::move(sibling.found->entry), Options(), cancel);
        continue;
      }
      // A list beside it that could not be read may have named it: the user learns of each.
      for (const TLeftOutPath& unread : sibling.unread) ShowUnreadable(unread.path, unread.reason);
      AddPathPage(path).ShowNoList(path);
      Play(TSoundKind::skError);
      continue;
    }
    TCompareFrame& frame = AddPathPage(path);
    ++listsOpened_;
    frame.StartCompare(path, std::move(read.list), Options(), cancel);
  }
}

TCompareFrame& TCompareForm::AddPathPage(const std::string& path) {
  TCompareFrame& frame =
      AddPage<TCompareFrame>(ExtractFileName(ExcludeTrailingPathDelimiter(path, IsNeverLeadByte), IsNeverLeadByte));
  frame.SetHint(path);
  frame.SetShowHint(true);
  frame.ListView.SetShowHint(true);
  return frame;
}

void TCompareForm::ShowUnreadable(const std::string& path, THashFailure reason) {
  AddPathPage(path).ShowUnreadable(path, HashFailureText(reason));
  Play(TSoundKind::skError);
}

TCompareFrame* TCompareForm::ActiveFrame() const { return Frame(ComparePageControl.ActivePageIndex()); }

TCompareFrame* TCompareForm::Frame(int index) const { return dynamic_cast<TCompareFrame*>(PageAt(index)); }

void TCompareForm::FormCreate() {
  SetLeft(ui::ScreenWidth() / 2 - Width() / 2);
  SetTop(ui::ScreenHeight() / 2 - Height() / 2);
}

void TCompareForm::FormShow() { RemoveIdlePages(); }

void TCompareForm::FormClose() { CloseJob(); }

void TCompareForm::ComparePageControlChange() { SetPageCaption(); }

void TCompareForm::DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y) {
  if (OnForwardDrop) OnForwardDrop(Sender, Files, X, Y);
}

void TCompareForm::MenuOpenClick() { DropDst.DropPaths(ChooseLists(Options())); }

void TCompareForm::MenuPrevErrorClick() {
  if (TCompareFrame* frame = ActiveFrame()) frame->GotoError(TSearchDirection::sdAbove);
}

void TCompareForm::MenuNextErrorClick() {
  if (TCompareFrame* frame = ActiveFrame()) frame->GotoError(TSearchDirection::sdBelow);
}

void TCompareForm::MenuCopyErrorsClick() {
  if (TCompareFrame* frame = ActiveFrame()) (void)frame->CopyErrorRows();
}

void TCompareForm::MenuFindUnlistedClick() {
  if (TCompareFrame* frame = ActiveFrame()) (void)frame->AddUnlistedFiles();
}

void TCompareForm::MenuUpdateListClick() {
  if (TCompareFrame* frame = ActiveFrame(); frame != nullptr && !InIntake()) UpdatePage(*frame);
}

void TCompareForm::UpdateLists() {
  for (int i = 0; i < PageCount() && !InIntake(); ++i) {
    if (TCompareFrame* frame = Frame(i)) UpdatePage(*frame);
  }
}

void TCompareForm::UpdatePage(TCompareFrame& frame) {
  const IntakeScope intake(*this);
  try {
    (void)frame.UpdateList(Options(), intake.Cancel());
  } catch (const TListFileError& error) {
    ui::App().HandleException(error);
  }
}

bool TCompareForm::SaveReport(bool allPages) {
  const TCompareFrame* active = ActiveFrame();
  if (active == nullptr || InIntake()) return false;
  std::vector<std::vector<std::string>> rows = {{"List", "Name", "Kind", "Hash", "FHash", "Bytes", "FBytes", "Result"}};
  for (int i = 0; i < PageCount(); ++i) {
    const TCompareFrame* frame = Frame(i);
    if (frame != nullptr && (allPages || frame == active)) frame->AppendReportRows(rows);
  }
  ReportDialog.SetFilter(ui::Wide(u8"CSVファイル(*.csv)|*.csv"));
  ReportDialog.SetDefaultExt("csv");
  ReportDialog.SetInitialDir(ExtractFilePath(active->ListPath(), IsNeverLeadByte));
  ReportDialog.SetFileName(
      allPages ? ui::Utf8(u8"検証結果")
               : RemoveFileExtension(ExtractFileName(active->ListPath(), IsNeverLeadByte), IsNeverLeadByte));
  if (!ReportDialog.Execute()) return false;
  try {
    // The byte-order mark lets spreadsheets read the names as UTF-8.
    WriteListFile(ReportDialog.FileName(), std::string(kUtf8Bom) + CommaSeparatedText(rows));
  } catch (const TListFileError& error) {
    ui::App().HandleException(error);
    return false;
  }
  return true;
}

void TCompareForm::SetPageCaption() {
  if (const TCompareFrame* frame = ActiveFrame()) {
    SetCaption(frame->Hint() + " - Compare - " + ui::App().Title());
  }
}

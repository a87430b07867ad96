#include "app/calc.h"

#include <memory>

#include "app/ansi.h"
#include "app/calcfrm.h"
#include "app/calcview.h"
#include "app/crc.h"
#include "app/main.h"
#include "core/path.h"
#include "ui/application.h"

TCalcForm* CalcForm = nullptr;

namespace {

const ui::FontSpec kFormFont{.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};

// The files and the sub-folders of one folder, each sorted by the locale order. Sub-folders are
// listed only with "ディレクトリ再帰的検索".
FolderListing SearchFolder(const std::string& folder) {
  FolderListing listing =
      ListFolder(IncludeTrailingPathDelimiter(folder, IsAnsiLeadByte), MainForm->DirRecursiveCheckBox.Checked());
  SortPathsLocale(listing.files);
  SortPathsLocale(listing.folders);
  return listing;
}

// The tab caption of a page: "/" for loose files, else the folder's last component ("" for a
// drive root). The tab control shows "&" as a mnemonic mark, so a literal one is doubled.
std::string PageCaption(const std::string& folder) {
  if (folder.empty()) return "/";
  const std::string name = ExtractFileName(ExcludeTrailingPathDelimiter(folder, IsAnsiLeadByte), IsAnsiLeadByte);
  std::string caption;
  for (const char c : name) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

// Counts the nesting of intakes (a drop on this window during a run starts one inside it).
class IntakeScope {
 public:
  explicit IntakeScope(int& depth) : depth_(depth) { ++depth_; }
  IntakeScope(const IntakeScope&) = delete;
  IntakeScope& operator=(const IntakeScope&) = delete;
  ~IntakeScope() { --depth_; }

 private:
  int& depth_;
};

}  // namespace

TCalcForm::TCalcForm()
    : ui::Form({.caption = ui::App().WideTitle() + L" - Calc",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .minWidth = 160,
                .minHeight = 160,
                .font = kFormFont}),
      CalcPageControl({.parent = this, .align = ui::Align::Client, .tabStop = false}),
      MenuView(PopupMenu.Add(
          {.caption = u8"テキスト表示(&V)", .shortcut = {.key = 'V'}, .onClick = [this] { MenuViewClick(); }})),
      MenuSave(PopupMenu.Add({.caption = u8"保存(&S)", .shortcut = {.key = 'S'}, .onClick = [this] { MenuSaveClick(); }})),
      MenuCopy(PopupMenu.Add(
          {.caption = u8"クリップボードにコピー(&C)", .shortcut = {.key = 'C'}, .onClick = [this] { MenuCopyClick(); }})),
      N1(PopupMenu.AddSeparator()),
      MenuPrevTab(PopupMenu.Add({.caption = u8"前のタブ",
                                 .shortcut = {.key = VK_TAB, .shift = true},
                                 .onClick = [this] { MenuPrevTabClick(); }})),
      MenuNextTab(PopupMenu.Add(
          {.caption = u8"次のタブ", .shortcut = {.key = VK_TAB}, .onClick = [this] { MenuNextTabClick(); }})),
      N2(PopupMenu.AddSeparator()),
      MenuCancelClose(PopupMenu.Add({.caption = u8"キャンセル/閉じる(&C)",
                                     .shortcut = {.key = VK_ESCAPE},
                                     .onClick = [this] { MenuCloseClick(); }})),
      DropDst(this) {
  CalcForm = this;
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

TCalcFrame* TCalcForm::Frame(int index) const {
  if (index < 0 || index >= CalcPageControl.PageCount()) return nullptr;
  const auto& children = CalcPageControl.Page(index).Children();
  return children.empty() ? nullptr : dynamic_cast<TCalcFrame*>(children.front());
}

TCalcFrame* TCalcForm::ActiveFrame() const { return Frame(CalcPageControl.ActivePageIndex()); }

void TCalcForm::BindCancelClose(bool cancel) {
  if (cancel) {
    MenuCancelClose.OnClick = [this] { MenuCancelClick(); };
  } else {
    MenuCancelClose.OnClick = [this] { MenuCloseClick(); };
  }
}

void TCalcForm::CalcFiles(std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const IntakeScope intake(intakeDepth_);
  std::vector<std::string> looseFiles;
  std::vector<std::string> folders;
  CancelFlag = false;
  BindCancelClose(true);
  SetCaption(ui::App().Title() + " - Calc - Wait");
  if (Visible()) {
    BringToFront();
  } else {
    Show();
  }
  MainForm->ExpandLongNames(paths);
  for (const std::string& path : paths) {
    (DirectoryExists(path) ? folders : looseFiles).push_back(path);
  }
  SortPathsLocale(looseFiles);
  SortPathsLocale(folders);

  try {
    if (MainForm->DirListCheckBox.Checked()) {
      AddListPage(looseFiles, {});
      for (const std::string& folder : folders) CalcFolder(folder);
    } else {
      for (const std::string& folder : folders) CollectFolder(folder, looseFiles);
      AddListPage(looseFiles, {});
    }
  } catch (...) {
    // A failed automatic save ends the intake here; the error is reported by whoever started
    // it. The window stays usable: Esc closes it again and the caption names the active page.
    BindCancelClose(false);
    FinishIntake();
    throw;
  }

  if (MainForm->DoneBeepCheckBox.Checked()) {
    MainForm->PlayCompletionSound(CancelFlag ? TSoundKind::skCancel : TSoundKind::skDone);
  }
  BindCancelClose(false);
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

void TCalcForm::AddListPage(const std::vector<std::string>& files, const std::string& folder) {
  if (CancelFlag || files.empty()) return;
  ui::TabSheet& sheet = CalcPageControl.AddSheet(PageCaption(folder));
  sheet.SetShowHint(true);
  TCalcFrame& frame = sheet.Adopt(std::make_unique<TCalcFrame>(sheet));
  CalcPageControl.SetActivePage(sheet);
  if (frame.RunCalc(files, folder)) RemovePage(frame);
}

void TCalcForm::CollectFolder(const std::string& folder, std::vector<std::string>& files) {
  const FolderListing listing = SearchFolder(folder);
  files.insert(files.end(), listing.files.begin(), listing.files.end());
  for (const std::string& subfolder : listing.folders) CollectFolder(subfolder, files);
}

void TCalcForm::CalcFolder(const std::string& folder) {
  const FolderListing listing = SearchFolder(folder);
  AddListPage(listing.files, IncludeTrailingPathDelimiter(folder, IsAnsiLeadByte));
  for (const std::string& subfolder : listing.folders) CalcFolder(subfolder);
}

void TCalcForm::RemovePage(const TCalcFrame& frame) {
  for (int i = 0; i < CalcPageControl.PageCount(); ++i) {
    if (Frame(i) == &frame) {
      CalcPageControl.RemoveSheet(i);
      return;
    }
  }
}

void TCalcForm::RemoveAllPages() {
  // A page whose run is still on the stack (its window was closed during the run, and a new
  // intake came before the run noticed) stays until that run has ended.
  for (int i = CalcPageControl.PageCount() - 1; i >= 0; --i) {
    const TCalcFrame* frame = Frame(i);
    if (frame == nullptr || !frame->Running()) CalcPageControl.RemoveSheet(i);
  }
}

void TCalcForm::FormCreate() {
  SetBounds(ui::ScreenWidth() / 2 - Width() / 2, ui::ScreenHeight() / 2 - Height() / 2, Width(), Height());
}

void TCalcForm::FormShow() { RemoveAllPages(); }

void TCalcForm::FormClose() {
  if (!MainForm->Visible()) ui::App().Terminate();
  CancelFlag = true;
}

void TCalcForm::CalcPageControlChange() {
  if (CalcViewForm->Visible()) CalcViewForm->RenderActivePage();
  if (const TCalcFrame* frame = ActiveFrame()) SetCaption(ui::App().Title() + " - Calc - " + frame->BaseFolder());
}

void TCalcForm::MenuViewClick() {
  CalcViewForm->RenderActivePage();
  CalcViewForm->Show();
}

void TCalcForm::MenuSaveClick() {
  CalcViewForm->RenderActivePage();
  CalcViewForm->MenuSaveClick();
}

void TCalcForm::MenuCopyClick() {
  CalcViewForm->RenderActivePage();
  CalcViewForm->MenuCopyClick();
}

void TCalcForm::MenuPrevTabClick() {
  const int count = CalcPageControl.PageCount();
  if (count == 0) return;
  const int active = CalcPageControl.ActivePageIndex();
  CalcPageControl.ActivatePage(active <= 0 ? count - 1 : active - 1, true);
}

void TCalcForm::MenuNextTabClick() {
  const int count = CalcPageControl.PageCount();
  if (count == 0) return;
  const int active = CalcPageControl.ActivePageIndex();
  CalcPageControl.ActivatePage(active < 0 || active + 1 >= count ? 0 : active + 1, true);
}

void TCalcForm::MenuCancelClick() { CancelFlag = true; }

void TCalcForm::MenuCloseClick() { Close(); }

void TCalcForm::DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y) {
  MainForm->CalcDropDstFileDrop(Sender, Files, X, Y);
}

#include "app/compare.h"

#include <utility>

#include "app/ansi.h"
#include "app/comparefrm.h"
#include "app/crc.h"
#include "app/main.h"
#include "core/listread.h"
#include "core/path.h"
#include "ui/application.h"

TCompareForm* CompareForm = nullptr;

namespace {

ui::FontSpec FormFont() { return {.face = u8"ＭＳ Ｐゴシック", .height = 12, .charset = SHIFTJIS_CHARSET}; }
constexpr int kPictureSize = 12;

BOOL WINAPI DeletePen(HPEN pen) { return DeleteObject(pen); }
using PenHandle = ui::GdiHandle<HPEN, DeletePen>;

void PaintBlueCircle(HDC dc, const RECT& bounds) {
  const PenHandle pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 255)));
  const ui::SelectObjectScope usePen(dc, pen.get());
  const ui::SelectObjectScope noFill(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1);
}

void PaintRedCross(HDC dc, const RECT& bounds) {
  const PenHandle pen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));
  const ui::SelectObjectScope usePen(dc, pen.get());
  MoveToEx(dc, bounds.left + 2, bounds.top + 2, nullptr);
  LineTo(dc, bounds.right - 2, bounds.bottom - 2);
  MoveToEx(dc, bounds.right - 3, bounds.top + 2, nullptr);
  LineTo(dc, bounds.left + 1, bounds.bottom - 2);
}

// A tab shows "&" as the mark of an access key; a file name is shown as it is.
std::string TabCaption(const std::string& path) {
  std::string caption;
  for (char c : ExtractFileName(path, IsAnsiLeadByte)) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

TCompareFrame* FrameOf(const ui::TabSheet* sheet) {
  if (sheet == nullptr || sheet->Children().empty()) return nullptr;
  return dynamic_cast<TCompareFrame*>(sheet->Children().front());
}

}  // namespace

TCompareForm::TCompareForm()
    : ui::Form({.caption = u8"Ruvo - Compare",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .font = FormFont()}),
      ComparePageControl({.parent = this, .align = ui::Align::Client, .tabStop = false}),
      MenuPrevError(PopupMenu.Add({.caption = u8"前のエラー",
                                   .shortcut = {.key = VK_UP, .ctrl = true},
                                   .onClick = [this] { MenuPrevErrorClick(); }})),
      MenuNextError(PopupMenu.Add({.caption = u8"次のエラー",
                                   .shortcut = {.key = VK_DOWN, .ctrl = true},
                                   .onClick = [this] { MenuNextErrorClick(); }})),
      MenuPrevTab((PopupMenu.AddSeparator(), PopupMenu.Add({.caption = u8"前のタブ",
                                                            .shortcut = {.key = VK_TAB, .shift = true},
                                                            .onClick = [this] { MenuPrevTabClick(); }}))),
      MenuNextTab(PopupMenu.Add(
          {.caption = u8"次のタブ", .shortcut = {.key = VK_TAB}, .onClick = [this] { MenuNextTabClick(); }})),
      MenuCancelClose((PopupMenu.AddSeparator(), PopupMenu.Add({.caption = u8"キャンセル/閉じる(&C)",
                                                                .shortcut = {.key = VK_ESCAPE},
                                                                .onClick = [this] { MenuCloseClick(); }}))),
      StateImageList(kPictureSize, kPictureSize),
      DropDst(this) {
  if (CompareForm == nullptr) CompareForm = this;
  StateImageList.Add([](HDC, const RECT&) {});
  StateImageList.Add(PaintBlueCircle);
  StateImageList.Add(PaintRedCross);

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
  CancelFlag = false;
  // Esc cancels while the intake runs and closes again afterwards, also when an error ends it.
  struct IntakeScope {
    TCompareForm& form;
    explicit IntakeScope(TCompareForm& f) : form(f) {
      ++form.intakeDepth_;
      form.MenuCancelClose.OnClick = [&f = form] { f.MenuCancelClick(); };
    }
    ~IntakeScope() {
      --form.intakeDepth_;
      form.MenuCancelClose.OnClick = [&f = form] { f.MenuCloseClick(); };
    }
    IntakeScope(const IntakeScope&) = delete;
    IntakeScope& operator=(const IntakeScope&) = delete;
  };
  const std::string title = ui::App().Title();
  {
    const IntakeScope intake(*this);
    SetCaption(title + " - Compare - Wait");
    Show();
    MainForm->ExpandLongNames(paths);

    std::vector<std::string> files, folders;
    for (const std::string& path : paths) (DirectoryExists(path) ? folders : files).push_back(path);
    SortPathsLocale(files);
    SortPathsLocale(folders);

    OpenLists(files, true);
    for (const std::string& folder : folders) CompareFolder(folder);

    if (MainForm->DoneBeepCheckBox.Checked()) {
      MainForm->PlayCompletionSound(CancelFlag ? TSoundKind::skCancel : TSoundKind::skDone);
    }
    SetCaption(title + " - Compare - Result");
  }
  if (PageCount() == 0) {
    Close();
  } else {
    SetPageCaption();
  }
  if (Visible()) BringToFront();
}

void TCompareForm::OpenLists(const std::vector<std::string>& paths, bool reportNonLists) {
  std::vector<std::string> lines;
  for (const std::string& path : paths) {
    if (CancelFlag) return;
    // A list that passed the probe but cannot be read in full counts as no list.
    THashType kind = THashType::None;
    if (IsChecksumListFile(path) && LoadChecksumList(path, lines)) kind = DetectListKind(lines);
    if (kind == THashType::None) {
      if (reportNonLists) MainForm->PlayCompletionSound(TSoundKind::skError);
      continue;
    }

    ui::TabSheet& sheet = ComparePageControl.AddSheet(TabCaption(path));
    sheet.SetShowHint(true);
    TCompareFrame& frame = sheet.Adopt(std::make_unique<TCompareFrame>(sheet));
    frame.SetHint(path);
    frame.SetShowHint(true);
    frame.ListView.SetShowHint(true);
    ComparePageControl.SetActivePage(sheet);
    frame.StartCompare(path, lines, kind);
  }
}

void TCompareForm::CompareFolder(const std::string& folder) {
  // Once cancelled no list is opened any more, so the rest of the tree need not be listed.
  if (CancelFlag) return;
  FolderListing found =
      ListFolder(IncludeTrailingPathDelimiter(folder, IsAnsiLeadByte), MainForm->DirRecursiveCheckBox.Checked());
  SortPathsLocale(found.files);
  SortPathsLocale(found.folders);
  OpenLists(found.files, false);
  for (const std::string& sub : found.folders) CompareFolder(sub);
}

TCompareFrame* TCompareForm::ActiveFrame() { return FrameOf(ComparePageControl.ActivePage()); }

TCompareFrame* TCompareForm::Frame(int index) {
  if (index < 0 || index >= PageCount()) return nullptr;
  return FrameOf(&ComparePageControl.Page(index));
}

int TCompareForm::PageCount() { return ComparePageControl.PageCount(); }

void TCompareForm::FormCreate() {
  SetLeft(ui::ScreenWidth() / 2 - Width() / 2);
  SetTop(ui::ScreenHeight() / 2 - Height() / 2);
}

void TCompareForm::FormShow() { RemoveAllPages(); }

void TCompareForm::FormClose() {
  if (MainForm != nullptr && !MainForm->Visible()) ui::App().Terminate();
  CancelFlag = true;
}

void TCompareForm::ComparePageControlChange() { SetPageCaption(); }

void TCompareForm::DropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y) {
  MainForm->CompareDropDstFileDrop(Sender, Files, X, Y);
}

void TCompareForm::MenuPrevErrorClick() {
  if (TCompareFrame* frame = ActiveFrame()) frame->GotoError(TSearchDirection::sdAbove);
}

void TCompareForm::MenuNextErrorClick() {
  if (TCompareFrame* frame = ActiveFrame()) frame->GotoError(TSearchDirection::sdBelow);
}

void TCompareForm::MenuPrevTabClick() { ActivateNeighbour(-1); }

void TCompareForm::MenuNextTabClick() { ActivateNeighbour(1); }

void TCompareForm::MenuCancelClick() { CancelFlag = true; }

void TCompareForm::MenuCloseClick() { Close(); }

void TCompareForm::ActivateNeighbour(int step) {
  const int count = PageCount();
  if (count < 2) return;
  const int active = ComparePageControl.ActivePageIndex();
  ComparePageControl.ActivatePage(((active < 0 ? 0 : active) + step + count) % count, true);
}

void TCompareForm::SetPageCaption() {
  if (const TCompareFrame* frame = ActiveFrame()) {
    SetCaption(frame->Hint() + " - Compare - " + ui::App().Title());
  }
}

void TCompareForm::RemoveAllPages() {
  // A page whose run is still going (a nested intake met the window hidden) must outlive it.
  for (int i = 0; i < PageCount();) {
    const TCompareFrame* frame = Frame(i);
    if (frame != nullptr && frame->Running()) {
      ++i;
    } else {
      ComparePageControl.RemoveSheet(i);
    }
  }
}

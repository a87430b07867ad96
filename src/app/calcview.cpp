#include "app/calcview.h"

#include <span>

#include "app/ansi.h"
#include "app/calc.h"
#include "app/calcfile.h"
#include "app/calcfrm.h"
#include "app/main.h"
#include "core/listtext.h"
#include "core/path.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/text.h"

TCalcViewForm* CalcViewForm = nullptr;

namespace {

const ui::FontSpec kTextFont{.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};

}  // namespace

TCalcViewForm::TCalcViewForm()
    : ui::Form({.caption = ui::App().WideTitle() + L" - Calc - Text",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .minWidth = 160,
                .minHeight = 160}),
      RichEdit({.parent = this, .align = ui::Align::Client, .readOnly = true}),
      MenuSave(PopupMenu.Add({.caption = u8"保存(&S)", .shortcut = {.key = 'S'}, .onClick = [this] { MenuSaveClick(); }})),
      MenuCopy(PopupMenu.Add(
          {.caption = u8"クリップボードにコピー(&C)", .shortcut = {.key = 'C'}, .onClick = [this] { MenuCopyClick(); }})),
      N1(PopupMenu.AddSeparator()),
      MenuClose(PopupMenu.Add(
          {.caption = u8"閉じる(&C)", .shortcut = {.key = VK_ESCAPE}, .onClick = [this] { MenuCloseClick(); }})) {
  CalcViewForm = this;
  RichEdit.SetFont(kTextFont);
  RichEdit.SetPopupMenu(&PopupMenu);
  SaveDialog.SetOptions(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING);
  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  DoCreate();
}

TCalcViewForm::~TCalcViewForm() {
  if (CalcViewForm == this) CalcViewForm = nullptr;
}

void TCalcViewForm::FormCreate() {
  SetBounds(ui::ScreenWidth() / 2 - Width() / 2 + 32, ui::ScreenHeight() / 2 - Height() / 2 + 32, Width(), Height());
}

void TCalcViewForm::FormShow() {
  if (boxStale_) RichEdit.SetText(text_);
  boxStale_ = false;
}

void TCalcViewForm::ShowText() {
  boxStale_ = !Visible();
  if (!boxStale_) RichEdit.SetText(text_);
}

void TCalcViewForm::RenderActivePage() { RenderPage(CalcForm != nullptr ? CalcForm->ActiveFrame() : nullptr); }

void TCalcViewForm::RenderPage(const TCalcFrame* frame) {
  if (frame == nullptr || frame->Entries.empty()) {
    // Nothing to show, and nothing that Save or Copy could take for this page's list.
    text_.clear();
    ShowText();
    return;
  }
  const std::span<const ChecksumRow> rows(frame->Entries);
  SaveDialog.SetInitialDir(frame->BaseFolder());
  SaveDialog.SetFileName(DefaultSaveName(rows, frame->BaseFolder(), IsAnsiLeadByte));
  const bool md5 = frame->Kind() == THashType::MD5;
  SaveDialog.SetDefaultExt(md5 ? MainForm->DefaultExtMD5Edit.Text() : MainForm->DefaultExtCRCEdit.Text());
  text_ = RenderChecksumList(frame->Kind(), rows, frame->TotalText());
  // Laying out a long list costs the rich edit far more than rendering it; a hidden view (an
  // automatic save) gets its text when it shows.
  ShowText();
}

std::string TCalcViewForm::AutoSavePath() const {
  // A page of relative paths (a command line naming files of the current folder) has no folder:
  // its list goes to the current folder, where its files are.
  const std::string& folder = SaveDialog.InitialDir();
  const std::string prefix = folder.empty() ? std::string() : IncludeTrailingPathDelimiter(folder, IsAnsiLeadByte);
  return prefix + SaveDialog.FileName() + "." + SaveDialog.DefaultExt();
}

bool TCalcViewForm::AutoSave() {
  if (!HasList()) return false;
  const std::string path = AutoSavePath();
  if (!ConfirmOverwrite(path)) return false;
  WriteListFile(path, text_);
  return true;
}

bool TCalcViewForm::ConfirmOverwrite(const std::string& path) {
  if (MainForm->AutoSaveForceOverwriteCheckBox.Checked()) return true;
  if (!FileExists(path)) return true;
  MainForm->PlayCompletionSound(TSoundKind::skQuestion);
  const std::wstring text = ui::WideFromAnsi(path) + ui::Wide(u8"に上書きしますか?");
  const std::wstring caption = ui::App().WideTitle() + ui::Wide(u8" - 自動保存");
  return ui::MessageBox(text, caption, MB_ICONINFORMATION | MB_OKCANCEL) == IDOK;
}

void TCalcViewForm::MenuSaveClick() {
  if (!HasList()) return;
  const std::wstring ext = ui::WideFromAnsi(SaveDialog.DefaultExt());
  SaveDialog.SetFilter(ext + ui::Wide(u8"ファイル(*.") + ext + L")|*." + ext);
  if (!SaveDialog.Execute()) return;
  try {
    WriteListFile(SaveDialog.FileName(), text_);
  } catch (const TListFileError& error) {
    ui::App().HandleException(error);
  }
}

void TCalcViewForm::MenuCopyClick() {
  if (!HasList()) return;
  RichEdit.SelectAll();
  // The list's own bytes, not the box's copy: the clipboard gets exactly what Save writes.
  const bool copied = ui::SetClipboardText(text_);
  RichEdit.ClearSelection();
  if (!copied) ui::App().ShowException(u8"クリップボードを開けません");
}

void TCalcViewForm::MenuCloseClick() { Close(); }

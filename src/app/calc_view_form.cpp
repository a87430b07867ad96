#include "app/calc_view_form.h"

#include "app/fonts.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/text.h"

TCalcViewForm* CalcViewForm = nullptr;

TCalcViewForm::TCalcViewForm()
    : ui::Form({.caption = ui::App().WideTitle() + L" - Calc - Text",
                .width = 408,
                .height = 327,
                .borderStyle = ui::BorderStyle::SizeableTool,
                .minWidth = 160,
                .minHeight = 160,
                .windowOnDemand = true}),
      RichEdit({.parent = this, .align = ui::Align::Client, .readOnly = true}),
      MenuSave(
          PopupMenu.Add({.caption = u8"保存(&S)", .shortcut = {.key = 'S'}, .onClick = [this] { MenuSaveClick(); }})),
      MenuCopy(PopupMenu.Add({.caption = u8"クリップボードにコピー(&C)",
                              .shortcut = {.key = 'C'},
                              .onClick = [this] { MenuCopyClick(); }})),
      MenuSeparatorClose(PopupMenu.AddSeparator()),
      MenuClose(PopupMenu.Add(
          {.caption = u8"閉じる(&C)", .shortcut = {.key = VK_ESCAPE}, .onClick = [this] { MenuCloseClick(); }})) {
  CalcViewForm = this;
  RichEdit.SetFont(kFixedPitchFont);
  RichEdit.SetAccessibleName(u8"リストのテキスト");
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
  SetBounds(ui::ScreenWidth() / 2 - Width() / 2 + Scaled(32), ui::ScreenHeight() / 2 - Height() / 2 + Scaled(32),
            Width(), Height());
}

void TCalcViewForm::FormShow() {
  if (boxStale_) RichEdit.SetText(document_.text);
  boxStale_ = false;
}

void TCalcViewForm::ShowText() {
  boxStale_ = !Visible();
  if (!boxStale_) RichEdit.SetText(document_.text);
}

void TCalcViewForm::RenderActivePage() { Render(ActiveDocument ? ActiveDocument() : TListDocument{}); }

void TCalcViewForm::Render(const TListDocument& document) {
  if (!document.HasList()) {
    // Nothing to show, and nothing that Save or Copy could take for this page's list; the save
    // defaults stay as they were.
    document_.bytes.clear();
    document_.text.clear();
    ShowText();
    return;
  }
  document_ = document;
  SaveDialog.SetInitialDir(document_.folder);
  SaveDialog.SetFileName(document_.fileName);
  SaveDialog.SetDefaultExt(document_.ext);
  // Laying out a long list costs the rich edit far more than rendering it; a hidden view (an
  // automatic save) gets its text when it shows.
  ShowText();
}

bool TCalcViewForm::AutoSave(bool forceOverwrite) {
  if (!HasList()) return false;
  return SaveListFile(AutoSavePath(), document_.bytes, forceOverwrite,
                      [this](const std::string& path) { return ConfirmOverwrite(path); });
}

bool TCalcViewForm::ConfirmOverwrite(const std::string& path) {
  if (PlaySound) PlaySound(TSoundKind::skQuestion);
  const std::wstring text = ui::WideFromUtf8(path) + ui::Wide(u8"に上書きしますか?");
  const std::wstring caption = ui::App().WideTitle() + ui::Wide(u8" - 自動保存");
  return ui::MessageBox(text, caption, MB_ICONINFORMATION | MB_OKCANCEL) == IDOK;
}

void TCalcViewForm::MenuSaveClick() {
  if (!HasList()) return;
  const std::wstring ext = ui::WideFromUtf8(SaveDialog.DefaultExt());
  SaveDialog.SetFilter(ext + ui::Wide(u8"ファイル(*.") + ext + L")|*." + ext);
  if (!SaveDialog.Execute()) return;
  try {
    WriteListFile(SaveDialog.FileName(), document_.bytes);
  } catch (const TListFileError& error) {
    ui::App().HandleException(error);
  }
}

void TCalcViewForm::MenuCopyClick() {
  if (!HasList()) return;
  RichEdit.SelectAll();
  // The list's own text, not the box's copy: the clipboard gets what Save writes, as Unicode.
  const bool copied = ui::SetClipboardText(document_.text);
  RichEdit.ClearSelection();
  if (!copied) ui::App().ShowException(u8"クリップボードを開けません");
}

void TCalcViewForm::MenuCloseClick() { Close(); }

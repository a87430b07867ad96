#include "app/main_form.h"

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/fonts.h"
#include "ui/application.h"
#include "ui/gdi.h"

TMainForm* MainForm = nullptr;

namespace {

ui::FormArgs MainFormArgs() {
  return {.caption = u8"Ruvo 0.14h",
          .clientWidth = 152,
          .clientHeight = 272,
          .borderStyle = ui::BorderStyle::FixedSingle,
          .font = kProportionalFont};
}

ui::PanelArgs DropPanelArgs(ui::Control* parent, const char8_t* caption, int top, ui::Align align) {
  return {.parent = parent,
          .caption = caption,
          .left = 0,
          .top = top,
          .width = 144,
          .height = 120,
          .align = align,
          .bevelOuter = ui::Bevel::Lowered,
          .bevelInner = ui::Bevel::Raised};
}

// The three hash buttons share one exclusive group.
constexpr int kHashButtonGroup = 1;

ui::ButtonArgs HashButtonArgs(ui::Control* parent, const char8_t* caption, int left, bool down) {
  return {.parent = parent,
          .caption = caption,
          .left = left,
          .top = 96,
          .width = 44,
          .height = 22,
          .groupIndex = kHashButtonGroup,
          .down = down,
          .flat = true};
}

ui::CheckBoxArgs OptionArgs(ui::Control* parent, const char8_t* caption, int left, int top, int width, bool checked) {
  return {
      .parent = parent, .caption = caption, .left = left, .top = top, .width = width, .height = 17, .checked = checked};
}

// Labels take the width of their text, as designed labels size themselves, but never less than the
// designed width: a substitute for the UI font may draw wider than the original.
void FitLabelToText(ui::Label& label) {
  ui::WindowDc dc(label.Handle());
  ui::SelectObjectScope font(dc.get(), label.CurrentFont());
  const std::wstring& text = label.WideText();
  SIZE extent{};
  if (GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent) &&
      extent.cx > label.Width()) {
    label.SetWidth(extent.cx);
  }
}

}  // namespace

TMainForm::TMainForm()
    : ui::Form(MainFormArgs()),
      PageControl({.parent = this, .align = ui::Align::Client, .tabStop = true}),
      DragDropTabSheet({.control = &PageControl, .caption = u8"D&&D"}),
      PreferencesTabSheet({.control = &PageControl, .caption = u8"設定"}),
      ComparePanel(DropPanelArgs(&DragDropTabSheet, u8"比較", 0, ui::Align::Top)),
      CalcPanel(DropPanelArgs(&DragDropTabSheet, u8"作成", 125, ui::Align::Bottom)),
      CalcCRC16Button(HashButtonArgs(&CalcPanel, u8"CRC16", 4, false)),
      CalcCRC32Button(HashButtonArgs(&CalcPanel, u8"CRC32", 50, true)),
      CalcMD5Button(HashButtonArgs(&CalcPanel, u8"MD5", 96, false)),
      AutoSaveDirCheckBox(OptionArgs(&PreferencesTabSheet, u8"自動保存 - ディレクトリ", 0, 0, 137, false)),
      AutoSaveFileCheckBox(OptionArgs(&PreferencesTabSheet, u8"自動保存 - ファイル", 0, 16, 121, false)),
      AutoSaveForceOverwriteCheckBox(OptionArgs(&PreferencesTabSheet, u8"自動保存時強制上書き", 0, 32, 137, false)),
      AutoSaveCloseCheckBox(OptionArgs(&PreferencesTabSheet, u8"自動保存後閉じる", 0, 48, 113, false)),
      DirListCheckBox(OptionArgs(&PreferencesTabSheet, u8"ディレクトリ毎にリスト", 0, 64, 137, true)),
      DirRecursiveCheckBox(OptionArgs(&PreferencesTabSheet, u8"ディレクトリ再帰的検索", 0, 80, 137, false)),
      ShowProcessCheckBox(OptionArgs(&PreferencesTabSheet, u8"処理状況表示", 0, 96, 97, true)),
      DoneBeepCheckBox(OptionArgs(&PreferencesTabSheet, u8"処理完了時Beep", 0, 112, 105, true)),
      StayOnTopCheckBox(OptionArgs(&PreferencesTabSheet, u8"最前面表示", 0, 128, 81, false)),
      IdlePriorityCheckBox(OptionArgs(&PreferencesTabSheet, u8"優先度を下げる", 0, 144, 105, false)),
      MD5BinaryModeCheckBox(OptionArgs(&PreferencesTabSheet, u8"md5sum -b 互換出力", 0, 160, 137, false)),
      UpperCaseLabel(
          {.parent = &PreferencesTabSheet, .caption = u8"大文字", .left = 0, .top = 178, .width = 36, .height = 12}),
      UpperCRCCheckBox(OptionArgs(&PreferencesTabSheet, u8"CRC", 40, 176, 49, true)),
      UpperMD5CheckBox(OptionArgs(&PreferencesTabSheet, u8"MD5", 88, 176, 49, false)),
      DefaultExtCRCLabel({.parent = &PreferencesTabSheet,
                          .caption = u8"標準CRC拡張子",
                          .left = 0,
                          .top = 200,
                          .width = 84,
                          .height = 12}),
      DefaultExtCRCEdit(
          {.parent = &PreferencesTabSheet, .text = "crc", .left = 88, .top = 196, .width = 49, .height = 20}),
      DefaultExtMD5Label({.parent = &PreferencesTabSheet,
                          .caption = u8"標準MD5拡張子",
                          .left = 0,
                          .top = 224,
                          .width = 83,
                          .height = 12}),
      DefaultExtMD5Edit(
          {.parent = &PreferencesTabSheet, .text = "md5", .left = 87, .top = 220, .width = 49, .height = 20}),
      MenuClose(PopupMenu.Add(
          {.caption = u8"閉じる(&C)", .shortcut = {.key = VK_ESCAPE}, .onClick = [this] { MenuCloseClick(); }})),
      CompareDropDst(this),
      CalcDropDst(this) {
  // Tab order of the options, set in rising order so that each placement keeps the earlier ones.
  ui::Control* const tabOrder[] = {&AutoSaveDirCheckBox,   &AutoSaveFileCheckBox, &AutoSaveForceOverwriteCheckBox,
                                   &AutoSaveCloseCheckBox, &DirRecursiveCheckBox, &ShowProcessCheckBox,
                                   &DoneBeepCheckBox,      &StayOnTopCheckBox,    &DefaultExtCRCEdit,
                                   &DefaultExtMD5Edit,     &IdlePriorityCheckBox, &UpperCRCCheckBox,
                                   &UpperMD5CheckBox,      &DirListCheckBox,      &MD5BinaryModeCheckBox};
  for (int order = 0; order < static_cast<int>(std::size(tabOrder)); ++order) {
    tabOrder[order]->SetTabStop(true);
    tabOrder[order]->SetTabOrder(order);
  }

  FitLabelToText(UpperCaseLabel);
  FitLabelToText(DefaultExtCRCLabel);
  FitLabelToText(DefaultExtMD5Label);

  StayOnTopCheckBox.OnClick = [this] { StayOnTopCheckBoxClick(); };
  IdlePriorityCheckBox.OnClick = [this] { IdlePriorityCheckBoxClick(); };

  PopupMenu.SetAutoPopup(false);
  SetPopupMenu(&PopupMenu);

  PageControl.SetActivePageIndex(0);

  CompareDropDst.OnFileDrop = [this](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    CompareDropDstFileDrop(sender, files, x, y);
  };
  CompareDropDst.SetTarget(htControl);
  CompareDropDst.SetControl(&ComparePanel);
  CalcDropDst.OnFileDrop = [this](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    CalcDropDstFileDrop(sender, files, x, y);
  };
  CalcDropDst.SetTarget(htControl);
  CalcDropDst.SetControl(&CalcPanel);

  OnCreate = [this] { FormCreate(); };

  // The form is complete: as after streaming it in, the drop targets hook and register now.
  CompareDropDst.Loaded();
  CalcDropDst.Loaded();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() { SetBounds(0, 0, Width(), Height()); }

void TMainForm::MenuCloseClick() { Close(); }

THashType TMainForm::GetHashType() {
  if (CalcCRC16Button.Down()) return THashType::CRC16;
  if (CalcCRC32Button.Down()) return THashType::CRC32;
  if (CalcMD5Button.Down()) return THashType::MD5;
  return THashType::None;
}

void TMainForm::SetHashType(THashType kind) {
  switch (kind) {
    case THashType::CRC16: CalcCRC16Button.SetDown(true); break;
    case THashType::CRC32: CalcCRC32Button.SetDown(true); break;
    case THashType::MD5: CalcMD5Button.SetDown(true); break;
    default: break;  // no kind: the selection stays
  }
}

TRunOptions TMainForm::Options() {
  return {.kind = GetHashType(),
          .autoSaveDir = AutoSaveDirCheckBox.Checked(),
          .autoSaveFile = AutoSaveFileCheckBox.Checked(),
          .autoSaveForceOverwrite = AutoSaveForceOverwriteCheckBox.Checked(),
          .autoSaveClose = AutoSaveCloseCheckBox.Checked(),
          .dirList = DirListCheckBox.Checked(),
          .dirRecursive = DirRecursiveCheckBox.Checked(),
          .showProcess = ShowProcessCheckBox.Checked(),
          .doneBeep = DoneBeepCheckBox.Checked(),
          .md5BinaryMode = MD5BinaryModeCheckBox.Checked(),
          .upperCRC = UpperCRCCheckBox.Checked(),
          .upperMD5 = UpperMD5CheckBox.Checked(),
          .defaultExtCRC = DefaultExtCRCEdit.Text(),
          .defaultExtMD5 = DefaultExtMD5Edit.Text()};
}

void TMainForm::StayOnTopCheckBoxClick() {
  bool onTop = StayOnTopCheckBox.Checked();
  ui::Form* const windows[] = {this, CompareForm, CalcForm, CalcViewForm};
  for (ui::Form* window : windows) {
    if (window != nullptr) window->SetStayOnTop(onTop);
  }
}

void TMainForm::IdlePriorityCheckBoxClick() {
  // Nothing to do when Windows refuses: the process keeps the class it has.
  SetPriorityClass(GetCurrentProcess(), IdlePriorityCheckBox.Checked() ? IDLE_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
}

void TMainForm::RunDrop(ui::Panel& panel, const char8_t* idleCaption, const std::function<void()>& run) {
  if (Visible()) BringToFront();
  PreferencesTabSheet.SetTabVisible(false);
  panel.SetEnabled(false);
  panel.SetFontColor(ui::Color::System(COLOR_GRAYTEXT));
  panel.SetCaption(u8"処理中");
  // The run lets messages through only between files, so the busy look has to be painted now.
  panel.Repaint();

  auto restore = [&] {
    panel.SetCaption(idleCaption);
    panel.SetFontColor(ui::Color::System(COLOR_WINDOWTEXT));
    panel.SetEnabled(true);
    PreferencesTabSheet.SetTabVisible(true);
  };
  // A run that fails (an automatic save that cannot write, say) must not leave the panel dead and
  // the options hidden; the error still goes on to the drop target, which reports it.
  try {
    run();
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TMainForm::CompareDropDstFileDrop(TDropDst* /*Sender*/, std::vector<std::string>& Files, int /*X*/, int /*Y*/) {
  RunDrop(ComparePanel, u8"比較", [&] { CompareFiles(Files); });
}

void TMainForm::CalcDropDstFileDrop(TDropDst* /*Sender*/, std::vector<std::string>& Files, int /*X*/, int /*Y*/) {
  RunDrop(CalcPanel, u8"作成", [&] { CalcFiles(Files); });
}

void TMainForm::CalcFiles(std::vector<std::string>& paths) {
  if (CalcFilesEntry) {
    CalcFilesEntry(paths);
  } else {
    CalcForm->CalcFiles(paths);
  }
}

void TMainForm::CompareFiles(std::vector<std::string>& paths) {
  if (CompareFilesEntry) {
    CompareFilesEntry(paths);
  } else {
    CompareForm->CompareFiles(paths);
  }
}

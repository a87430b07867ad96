#include "app/main_form.h"

#include <algorithm>
#include <span>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/fonts.h"
#include "app/path_choosers.h"
#include "app/version.h"
#include "ui/application.h"
#include "ui/gdi.h"

TMainForm* MainForm = nullptr;

namespace {

// More hashing threads than this only cost memory, whatever the settings file says.
constexpr int kMostHashThreads = 256;

ui::FormArgs MainFormArgs() {
  return {.caption = u8"Ruvo " RUVO_DISPLAY_VERSION,
          .clientWidth = 152,
          .clientHeight = 272,
          .borderStyle = ui::BorderStyle::FixedSingle,
          .font = kProportionalFont,
          .windowOnDemand = true};
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
          .bevelInner = ui::Bevel::Raised,
          .tabStop = true};
}

// The hash buttons share one exclusive group.
constexpr int kHashButtonGroup = 1;

// The hash buttons' row inside the creation panel's two-pixel bevels, one pixel between buttons
// (designed at 96 DPI, as every length here).
constexpr int kHashRowLeft = 2;
constexpr int kHashRowRight = 142;
constexpr int kHashButtonGap = 1;
// Around a caption: the edge on both sides, the one-pixel shift of a sunken face and one spare;
// screen pixels at any DPI, as the edges are drawn.
constexpr int kCaptionMargin = 4;
// The smallest size the buttons' font may take so that all four captions fit the row.
constexpr int kMinHashButtonFontHeight = 9;

ui::ButtonArgs HashButtonArgs(ui::Control* parent, const char8_t* caption, int left, bool down) {
  return {.parent = parent,
          .caption = caption,
          .left = left,
          .top = 96,
          .width = 34,
          .height = 22,
          .groupIndex = kHashButtonGroup,
          .down = down,
          .flat = true,
          .tabStop = true};
}

ui::CheckBoxArgs OptionArgs(ui::Control* parent, const char8_t* caption, int left, int top, int width, bool checked) {
  return {
      .parent = parent, .caption = caption, .left = left, .top = top, .width = width, .height = 17, .checked = checked};
}

// The width of a control's text in its current font; 0 when it cannot be measured. Measured
// without the control's window, which a run that never shows the main window does not make.
int TextWidth(ui::Control& control) {
  ui::TextMeasurer measurer;
  return measurer.Width(control.CurrentFont(), control.WideText());
}

// The hash buttons fill their row, each as wide as its caption needs and the rest shared out, so
// that no caption is cut in whatever font the system gives. Only when the window's font is too
// wide for all of them at once do they take a smaller size of it: the window may not grow.
// Measured in pixels of the window's DPI, so laid out again when that changes.
void LayOutHashButtons(const ui::Control& row, std::span<ui::Button* const> buttons) {
  const int gap = row.Scaled(kHashButtonGap);
  const int rowLeft = row.Scaled(kHashRowLeft);
  const int room = row.Scaled(kHashRowRight) - rowLeft - gap * (static_cast<int>(buttons.size()) - 1);
  std::vector<int> needs(buttons.size());
  for (int height = kProportionalFont.height; height >= kMinHashButtonFontHeight; --height) {
    for (ui::Button* button : buttons) {
      if (button->Font().height == height) continue;
      button->SetFont({.face = kProportionalFont.face, .height = height, .charset = kProportionalFont.charset});
    }
    int total = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      needs[i] = TextWidth(*buttons[i]) + kCaptionMargin;
      total += needs[i];
    }
    if (total <= room) break;
  }
  int slack = room;
  for (int need : needs) slack -= need;
  slack = std::max(slack, 0);
  const int count = static_cast<int>(buttons.size());
  int left = rowLeft;
  for (int i = 0; i < count; ++i) {
    const int width = needs[i] + slack / count + (i < slack % count ? 1 : 0);
    buttons[i]->SetBounds(left, buttons[i]->Top(), width, buttons[i]->Height());
    left += width + gap;
  }
}

// Labels take the width of their text, as designed labels size themselves, but never less than the
// designed width: a substitute for the UI font may draw wider than the original.
void FitLabelToText(ui::Label& label) { label.SetWidth(std::max(TextWidth(label), label.Scaled(label.DesignWidth()))); }

}  // namespace

TMainForm::TMainForm()
    : ui::Form(MainFormArgs()),
      PageControl({.parent = this, .align = ui::Align::Client, .tabStop = true}),
      DragDropTabSheet({.control = &PageControl, .caption = u8"D&&D"}),
      PreferencesTabSheet({.control = &PageControl, .caption = u8"設定"}),
      ComparePanel(DropPanelArgs(&DragDropTabSheet, u8"比較", 0, ui::Align::Top)),
      CalcPanel(DropPanelArgs(&DragDropTabSheet, u8"作成", 125, ui::Align::Bottom)),
      CalcCRC16Button(HashButtonArgs(&CalcPanel, u8"CRC16", 2, false)),
      CalcCRC32Button(HashButtonArgs(&CalcPanel, u8"CRC32", 37, true)),
      CalcMD5Button(HashButtonArgs(&CalcPanel, u8"MD5", 72, false)),
      CalcSHA256Button(HashButtonArgs(&CalcPanel, u8"SHA256", 107, false)),
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
      MenuModernSHA256(ModernKindMenu.Add(
          {.caption = u8"SHA256", .onClick = [this] { ChooseModernKind(THashType::SHA256, true); }})),
      MenuModernBLAKE3(ModernKindMenu.Add(
          {.caption = u8"BLAKE3", .onClick = [this] { ChooseModernKind(THashType::BLAKE3, true); }})),
      MenuClose(PopupMenu.Add(
          {.caption = u8"閉じる(&C)", .shortcut = {.key = VK_ESCAPE}, .onClick = [this] { MenuCloseClick(); }})),
      MenuChooseFiles(
          ChooserMenu.Add({.caption = u8"ファイルを選択(&F)...", .onClick = [this] { MenuChooseFilesClick(); }})),
      MenuChooseFolder(
          ChooserMenu.Add({.caption = u8"フォルダを選択(&D)...", .onClick = [this] { MenuChooseFolderClick(); }})),
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
  // Screen readers name an edit box after the label just before it in the tab order.
  DefaultExtCRCLabel.SetTabOrder(DefaultExtCRCEdit.TabOrder());
  DefaultExtMD5Label.SetTabOrder(DefaultExtMD5Edit.TabOrder());
  // The captions "CRC" and "MD5" say what they are only beside the label "大文字".
  UpperCRCCheckBox.SetAccessibleName(u8"大文字 CRC");
  UpperMD5CheckBox.SetAccessibleName(u8"大文字 MD5");
  PageControl.SetAccessibleName(u8"ページ");

  // What is sized by its text, at this DPI and again at every other one the window moves to.
  auto fitToText = [this] {
    LayOutHashButtons(CalcPanel, HashButtons());
    FitLabelToText(UpperCaseLabel);
    FitLabelToText(DefaultExtCRCLabel);
    FitLabelToText(DefaultExtMD5Label);
  };
  fitToText();
  OnDpiChanged = fitToText;

  StayOnTopCheckBox.OnClick = [this] { StayOnTopCheckBoxClick(); };
  IdlePriorityCheckBox.OnClick = [this] { IdlePriorityCheckBoxClick(); };

  PopupMenu.SetAutoPopup(false);
  SetPopupMenu(&PopupMenu);
  // The tabs by keyboard, as in the system's property sheets.
  const ui::Shortcut tabKeys[] = {{.key = VK_TAB, .ctrl = true},
                                  {.key = VK_NEXT, .ctrl = true},
                                  {.key = VK_TAB, .shift = true, .ctrl = true},
                                  {.key = VK_PRIOR, .ctrl = true}};
  for (const ui::Shortcut& key : tabKeys) {
    const bool next = key.key == VK_NEXT || (key.key == VK_TAB && !key.shift);
    PopupMenu.Add({.caption = next ? u8"次のタブ" : u8"前のタブ", .shortcut = key, .onClick = [this, next] {
                     SwitchTab(next ? 1 : -1);
                   }});
  }
  CalcSHA256Button.SetPopupMenu(&ModernKindMenu);

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
  ComparePanel.OnInvoke = [this](POINT) { ComparePanelInvoke(); };
  CalcPanel.OnInvoke = [this](POINT at) { CalcPanelInvoke(at); };

  OnCreate = [this] { FormCreate(); };

  // The form is complete: as after streaming it in, the drop targets hook and register now.
  CompareDropDst.Loaded();
  CalcDropDst.Loaded();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() { SetBounds(0, 0, Width(), Height()); }

void TMainForm::MenuCloseClick() { Close(); }

void TMainForm::SwitchTab(int step) {
  const ui::TabSheet* const before = PageControl.ActivePage();
  const HWND focus = GetFocus();
  const bool focusInPage = before != nullptr && focus != nullptr && IsChild(before->HandleIfAllocated(), focus);
  PageControl.ActivateNeighbour(step);
  // The page that held the focus is hidden now; the keyboard goes on from the row of tabs.
  if (focusInPage && PageControl.ActivePage() != before) PageControl.SetFocus();
}

THashType TMainForm::GetHashType() {
  if (CalcCRC16Button.Down()) return THashType::CRC16;
  if (CalcCRC32Button.Down()) return THashType::CRC32;
  if (CalcMD5Button.Down()) return THashType::MD5;
  if (CalcSHA256Button.Down()) return ModernKind;
  return THashType::None;
}

void TMainForm::SetHashType(THashType kind) {
  switch (kind) {
    case THashType::CRC16: CalcCRC16Button.SetDown(true); break;
    case THashType::CRC32: CalcCRC32Button.SetDown(true); break;
    case THashType::MD5: CalcMD5Button.SetDown(true); break;
    case THashType::SHA256:
    case THashType::BLAKE3: ChooseModernKind(kind, false); break;
    default: break;  // no kind: the selection stays
  }
}

void TMainForm::ChooseModernKind(THashType kind, bool byUser) {
  ModernKind = kind;
  CalcSHA256Button.SetCaption(kind == THashType::BLAKE3 ? u8"BLAKE3" : u8"SHA256");
  LayOutHashButtons(CalcPanel, HashButtons());
  if (byUser) {
    CalcSHA256Button.Click();
  } else {
    CalcSHA256Button.SetDown(true);
  }
}

std::array<ui::Button*, 4> TMainForm::HashButtons() {
  return {&CalcCRC16Button, &CalcCRC32Button, &CalcMD5Button, &CalcSHA256Button};
}

TRunOptions TMainForm::Options() {
  TRunOptions options{.kind = GetHashType(),
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
                      .defaultExtMD5 = DefaultExtMD5Edit.Text(),
                      .defaultExtSHA256 = DefaultExtSHA256,
                      .defaultExtBLAKE3 = DefaultExtBLAKE3,
                      .compareUnlisted = CompareUnlisted,
                      .workers = static_cast<unsigned>(std::clamp(HashThreads, 0, kMostHashThreads))};
  RunOverrides.ApplyTo(options);
  return options;
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
  const bool hadFocus = panel.Focused();
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
    // Disabling the panel took the keyboard focus from it; whoever started the run from the
    // keyboard goes on from there.
    if (hadFocus && GetFocus() == nullptr && GetActiveWindow() == Handle()) panel.SetFocus();
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

void TMainForm::ComparePanelInvoke() { CompareDropDst.DropPaths(ChooseLists(Options())); }

void TMainForm::CalcPanelInvoke(POINT at) { ChooserMenu.Popup(CalcPanel.Handle(), at); }

void TMainForm::MenuChooseFilesClick() { CalcDropDst.DropPaths(ChooseFiles()); }

void TMainForm::MenuChooseFolderClick() { CalcDropDst.DropPaths(ChooseFolder()); }

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

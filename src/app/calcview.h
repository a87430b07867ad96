#pragma once

#include <string>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/rich_edit.h"

class TCalcFrame;

// The text view of the creation side: shows the checksum list of a page read-only, and turns it
// into a file (Save, automatic save) or clipboard text. The save dialog carries the save defaults
// (folder, file name, extension) from a rendering to the saving.
class TCalcViewForm : public ui::Form {
 public:
  TCalcViewForm();
  ~TCalcViewForm() override;

  // RenderPage of the creation window's active page.
  void RenderActivePage();
  // Renders the page's list into the text box and sets the save defaults. A page without rows,
  // or none, has no list: the text is emptied and Save, Copy and AutoSave do nothing until a page
  // with rows is rendered.
  void RenderPage(const TCalcFrame* frame);
  // Saves the rendered list under the save defaults, asking first when a file would be replaced.
  // True when the file was written. A file that cannot be written raises TListFileError.
  bool AutoSave();
  // True means go ahead and write path.
  bool ConfirmOverwrite(const std::string& path);
  // Where AutoSave writes: initial folder + "\" + file name + "." + default extension.
  [[nodiscard]] std::string AutoSavePath() const;

  void FormCreate();
  // Puts a text rendered while the view was hidden into the box.
  void FormShow();
  void MenuSaveClick();
  void MenuCopyClick();
  void MenuCloseClick();

  // The bytes of the last rendering: what the box shows, Save writes and Copy puts on the
  // clipboard. Empty when the last rendered page had no list.
  [[nodiscard]] const std::string& ListText() const { return text_; }
  [[nodiscard]] bool HasList() const { return !text_.empty(); }

  ui::RichEdit RichEdit;
  ui::SaveDialog SaveDialog;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuSave;
  ui::MenuItem& MenuCopy;
  ui::MenuItem& N1;
  ui::MenuItem& MenuClose;

 private:
  // The box shows text_ now if the view is visible, else when it shows.
  void ShowText();

  std::string text_;
  bool boxStale_ = false;  // the box does not show text_ yet
};

extern TCalcViewForm* CalcViewForm;

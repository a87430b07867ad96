#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/list_file_writer.h"
#include "app/sound_kind.h"
#include "engine/list_document.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/rich_edit.h"

// The text view of the creation side: shows a page's checksum list read-only, and turns it into
// a file (Save, automatic save) or clipboard text. The save dialog carries the save defaults
// (folder, file name, extension) from a rendering to the saving.
class TCalcViewForm : public ui::Form {
 public:
  TCalcViewForm();
  ~TCalcViewForm() override;

  // The list of the creation window's active page; wired by the program.
  std::function<TListDocument()> ActiveDocument;
  TPlaySound PlaySound;

  // Render of the active page's list.
  void RenderActivePage();
  // Shows the list in the text box and sets the save defaults. Without a list the text is
  // emptied and Save, Copy and AutoSave do nothing until a list is rendered.
  void Render(const TListDocument& document);
  // Saves the rendered list at its automatic path, asking first when a file would be replaced
  // (unless forceOverwrite). True when the file was written. A file that cannot be written
  // raises TListFileError.
  bool AutoSave(bool forceOverwrite);
  // Asks whether the existing file at path is to be replaced (with the question sound); true for yes.
  bool ConfirmOverwrite(const std::string& path);
  // Where AutoSave writes the rendered list.
  [[nodiscard]] std::string AutoSavePath() const { return ::AutoSavePath(document_); }

  void FormCreate();
  // Puts a text rendered while the view was hidden into the box.
  void FormShow();
  void MenuSaveClick();
  void MenuCopyClick();
  void MenuCloseClick();

  // The bytes of the last rendering: what Save writes. Empty when the last rendered page had no
  // list.
  [[nodiscard]] const std::string& ListText() const { return document_.bytes; }
  // The same list as UTF-8: what the box shows and Copy puts on the clipboard.
  [[nodiscard]] const std::string& ShownText() const { return document_.text; }
  [[nodiscard]] bool HasList() const { return document_.HasList(); }

  ui::RichEdit RichEdit;
  ui::SaveDialog SaveDialog;
  ui::PopupMenu PopupMenu;
  ui::MenuItem& MenuSave;
  ui::MenuItem& MenuCopy;
  ui::MenuItem& MenuSeparatorClose;
  ui::MenuItem& MenuClose;

 private:
  // The box shows the text now if the view is visible, else when it shows.
  void ShowText();

  TListDocument document_;
  bool boxStale_ = false;  // the box does not show the text yet
};

extern TCalcViewForm* CalcViewForm;

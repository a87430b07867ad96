#include "app/compare_support.h"

#include <algorithm>

#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/main_form.h"
#include "engine/hash_file.h"
#include "ui/application.h"
#include "ui/text.h"

namespace comparetest {

std::string TableList(THashType kind, const std::vector<std::vector<std::string>>& rows) {
  const std::string title = kind == THashType::CRC16 ? "CRC" : "CRC32";
  const std::size_t hashWidth = kind == THashType::CRC16 ? 4 : 8;
  std::size_t nameWidth = 4, sizeWidth = 5;
  for (const auto& row : rows) {
    nameWidth = std::max(nameWidth, row[0].size());
    sizeWidth = std::max(sizeWidth, row[2].size());
  }
  auto pad = [](std::string text, std::size_t width) {
    return text + std::string(width - std::min(width, text.size()), ' ');
  };
  std::string text = pad("Name", nameWidth) + "  " + pad(title, hashWidth) + "  Bytes\r\n";
  text +=
      std::string(nameWidth, '-') + "  " + std::string(hashWidth, '-') + "  " + std::string(sizeWidth, '-') + "\r\n";
  for (const auto& row : rows) {
    text += pad(row[0], nameWidth) + "  " + row[1] + "  " +
            std::string(sizeWidth - std::min(sizeWidth, row[2].size()), ' ') + row[2] + "\r\n";
  }
  text += std::string(nameWidth + hashWidth + sizeWidth + 4, '-') + "\r\n";
  text += "Total  " + std::to_string(rows.size()) + " Files  0 Bytes\r\n";
  return text;
}

RowView ReadRow(TCompareFrame& frame, int row) {
  RowView view;
  HWND list = frame.ListView.Handle();
  for (int column = 0; column < 6; ++column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    view.cells.push_back(ui::Utf8FromWide(buffer));
  }
  const auto state =
      static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
  view.state = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
  return view;
}

SoundLog::SoundLog() {
  for (const char* name : {"done", "cancel", "question", "error"}) {
    folder_.Write(std::string("sounds\\") + name + ".wav", "RIFF");
  }
  MainForm->SoundBaseFolder = folder_.Path();
  MainForm->PlaySoundFile = [this](const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    std::string name = path.substr(slash + 1);
    heard_.push_back(name.substr(0, name.size() - 4));
  };
  MainForm->Beep = [this](UINT) { heard_.push_back("beep"); };
}

SoundLog::~SoundLog() {
  MainForm->SoundBaseFolder.clear();
  MainForm->PlaySoundFile = nullptr;
  MainForm->Beep = nullptr;
}

void PressChord(WORD virtualKey, bool shift, bool ctrl) { apptest::PressKey(virtualKey, shift, ctrl); }

void ResetCompareForm() {
  apptest::ResetProgramForms();
  while (CompareForm->PageCount() > 0) CompareForm->ComparePageControl.RemoveSheet(0);
  CompareForm->Hide();
  ui::App().ResetTerminated();
}

}  // namespace comparetest

#include "ui/rich_edit.h"

#include <gtest/gtest.h>

#include "ui/clipboard.h"
#include "ui_test_support.h"

namespace {

struct TextView {
  ui::Form form{{.width = 408, .height = 327}};
  ui::RichEdit edit{{.parent = &form, .align = ui::Align::Client}};
};

// A table-layout list: Japanese names, CR LF after every line.
const std::string kListText =
    "Name        CRC32      Bytes\r\n"
    "---------------------------------\r\n"
    "\xE8\xA1\xA8.txt    352441C2   3\r\n"                              // 表.txt
    "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.bin 00000000  1,234,567\r\n"  // ソフト.bin
    "\r\n"
    "Total  2 Files  1,234,570 Bytes\r\n";

TEST(RichEdit, TextRoundTripsByteForByte) {
  TextView view;
  const std::string texts[] = {kListText, "", "a\r\n", "\r\n\r\n", "no line end", std::string(70000, 'x') + "\r\n"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 40));
    view.edit.SetText(text);
    EXPECT_EQ(view.edit.Text(), text);
  }
}

TEST(RichEdit, TextSurvivesRecreation) {
  TextView view;
  view.edit.SetText(kListText);
  view.form.RecreateWindow();
  EXPECT_EQ(view.edit.Text(), kListText);
}

TEST(RichEdit, IsAReadOnlyMultiLineBoxWithoutWordWrap) {
  TextView view;
  const LONG_PTR style = GetWindowLongPtrW(view.edit.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (ES_READONLY | ES_MULTILINE), ES_READONLY | ES_MULTILINE);
  // A line far wider than the box stays one line.
  view.edit.SetText(std::string(2000, 'w') + "\r\nend");
  EXPECT_EQ(SendMessageW(view.edit.Handle(), EM_GETLINECOUNT, 0, 0), 2);
  // Typing changes nothing.
  view.edit.SetFocus();
  SendMessageW(view.edit.Handle(), WM_CHAR, 'x', 0);
  EXPECT_EQ(view.edit.Text(), std::string(2000, 'w') + "\r\nend");
}

TEST(RichEdit, CopyPutsTheWholeTextOnTheClipboardAndClearingLeavesNoSelection) {
  TextView view;
  view.edit.SetText(kListText);
  view.edit.SelectAll();
  EXPECT_GT(view.edit.SelLength(), 0);
  view.edit.CopyToClipboard();
  view.edit.ClearSelection();
  EXPECT_EQ(view.edit.SelLength(), 0);
  const auto copied = ui::ClipboardText();
  ASSERT_TRUE(copied.has_value());
  EXPECT_EQ(*copied, kListText);
}

}  // namespace

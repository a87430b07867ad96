#include "ui/list_view.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include "ui/gdi.h"
#include "ui/image_list.h"
#include "ui_test_support.h"

namespace {

struct Row {
  std::string name, hash, bytes;
  int state;
};

// A page's list: rows live in the page, the list asks for them.
struct Page {
  ui::Form form{{.left = 0, .top = 0, .width = 500, .height = 300}};
  ui::ListView list{{.parent = &form,
                     .align = ui::Align::Client,
                     .columns = {{.caption = u8"Name"},
                                 {.caption = u8"Hash"},
                                 {.caption = u8"Bytes", .align = ui::ColumnAlign::Right}}}};
  std::vector<Row> rows{
      {"\xE8\xA1\xA8.txt", "352441C2", "3", 1},  // 表.txt, trail byte 0x5C
      {"sub\\b.txt", "00000000", "1,234,567", 2},
      {"c.txt", "FFFFFFFF", "0", 0},
  };
  std::vector<int> asked;

  Page() {
    list.OnData = [this](int index, ui::ListItemData& item) {
      asked.push_back(index);
      if (index < 0 || index >= static_cast<int>(rows.size())) return;
      const Row& row = rows[static_cast<std::size_t>(index)];
      item.caption = row.name;
      item.subItems = {row.hash, row.bytes};
      item.stateIndex = row.state;
    };
    list.SetItemCount(static_cast<int>(rows.size()));
  }

  std::wstring CellText(int row, int column, int bufferSize = 260) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(bufferSize) + 8, L'#');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = bufferSize;
    SendMessageW(list.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    // Nothing written past the buffer the list offered.
    for (std::size_t i = static_cast<std::size_t>(bufferSize); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], L'#');
    return item.pszText;
  }
};

TEST(ListView, RowsComeFromOnDataWhenTheListAsks) {
  Page page;
  EXPECT_EQ(SendMessageW(page.list.Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
  struct Cell {
    int row, column;
    const wchar_t* text;
  };
  const Cell cells[] = {
      {0, 0, L"表.txt"},     {0, 1, L"352441C2"},  {0, 2, L"3"},
      {1, 0, L"sub\\b.txt"}, {1, 2, L"1,234,567"}, {2, 1, L"FFFFFFFF"},
  };
  for (const Cell& cell : cells) {
    page.asked.clear();
    EXPECT_EQ(page.CellText(cell.row, cell.column), cell.text);
    ASSERT_FALSE(page.asked.empty());
    EXPECT_EQ(page.asked.back(), cell.row);
  }
  // A changed record shows at the next request: nothing is cached in the list.
  page.rows[2].hash = "12345678";
  EXPECT_EQ(page.CellText(2, 1), L"12345678");
}

TEST(ListView, TextIsCutToTheListsBuffer) {
  Page page;
  EXPECT_EQ(page.CellText(1, 2, 4), L"1,2");
  EXPECT_EQ(page.CellText(0, 0, 2), L"表");
  EXPECT_EQ(page.CellText(0, 0, 1), L"");
}

TEST(ListView, RowsBeyondTheCountAreNotAskedFor) {
  Page page;
  page.asked.clear();
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  wchar_t buffer[32] = L"";
  item.pszText = buffer;
  item.cchTextMax = 32;
  item.iItem = 7;
  SendMessageW(page.list.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (int index : page.asked) EXPECT_LT(index, 3);
}

TEST(ListView, StatePicturesComeFromTheRowsState) {
  Page page;
  ui::ImageList images(12, 12);
  for (int i = 0; i < 3; ++i) images.Add([](HDC, const RECT&) {});
  page.list.SetStateImages(&images);
  for (int row = 0; row < 3; ++row) {
    const auto state =
        SendMessageW(page.list.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    EXPECT_EQ(static_cast<UINT>(state) & LVIS_STATEIMAGEMASK,
              INDEXTOSTATEIMAGEMASK(static_cast<UINT>(page.rows[static_cast<std::size_t>(row)].state) + 1));
  }
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(page.list.Handle(), LVM_GETIMAGELIST, LVSIL_STATE, 0)),
            images.Handle());
  page.list.SetStateImages(nullptr);
}

TEST(ListView, SelectionFocusAndCount) {
  Page page;
  EXPECT_EQ(page.list.Selected(), -1);
  page.list.SelectFocusShow(2);
  EXPECT_EQ(page.list.Selected(), 2);
  EXPECT_EQ(page.list.FocusedItem(), 2);
  page.list.SelectItem(1);  // single selection: row 2 loses it
  EXPECT_EQ(page.list.Selected(), 1);
  EXPECT_EQ(SendMessageW(page.list.Handle(), LVM_GETSELECTEDCOUNT, 0, 0), 1);
  page.list.SelectFocusShow(0);  // the one selected row is cleared before the next is selected
  EXPECT_EQ(page.list.Selected(), 0);
  EXPECT_EQ(SendMessageW(page.list.Handle(), LVM_GETITEMSTATE, 1, LVIS_SELECTED), 0);
  EXPECT_EQ(SendMessageW(page.list.Handle(), LVM_GETSELECTEDCOUNT, 0, 0), 1);
  page.list.SelectItem(-1);
  EXPECT_EQ(page.list.Selected(), -1);
  page.rows.push_back({"d.txt", "1", "1", 0});
  page.list.SetItemCount(4);
  EXPECT_EQ(page.list.ItemCount(), 4);
  EXPECT_EQ(page.CellText(3, 0), L"d.txt");
}

TEST(ListView, ColumnsCanBeRenamedAndSized) {
  Page page;
  page.list.SetColumnCaption(1, u8"CRC32");
  wchar_t caption[32] = L"";
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = caption;
  column.cchTextMax = 32;
  SendMessageW(page.list.Handle(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  EXPECT_STREQ(caption, L"CRC32");
  EXPECT_EQ(page.list.ColumnCaption(1), "CRC32");
  SendMessageW(page.list.Handle(), LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  page.list.SetColumnWidth(0, 123);
  EXPECT_EQ(page.list.ColumnWidth(0), 123);
  const DWORD extended = static_cast<DWORD>(SendMessageW(page.list.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  const LONG_PTR style = GetWindowLongPtrW(page.list.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (LVS_OWNERDATA | LVS_SINGLESEL | LVS_REPORT), LVS_OWNERDATA | LVS_SINGLESEL | LVS_REPORT);
  EXPECT_EQ(style & LVS_EDITLABELS, 0);
}

TEST(ListView, TextWidthIsMeasuredInTheListsOwnFont) {
  Page page;
  page.list.SetFont({.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET});
  const auto measure = [](HFONT font, const wchar_t* text) {
    ui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    ui::SelectObjectScope selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text, static_cast<int>(wcslen(text)), &size);
    return static_cast<int>(size.cx);
  };
  const int small = page.list.TextWidth("1,234,567");
  EXPECT_GT(small, 0);
  EXPECT_EQ(small, measure(page.list.CurrentFont(), L"1,234,567"));
  EXPECT_EQ(page.list.TextWidth("\xE8\xA1\xA8"), measure(page.list.CurrentFont(), L"表"));  // 表
  page.list.SetFont({.face = u8"ＭＳ ゴシック", .height = 24, .charset = SHIFTJIS_CHARSET});
  EXPECT_GT(page.list.TextWidth("1,234,567"), small);
  EXPECT_EQ(page.list.TextWidth(""), 0);
}

}  // namespace

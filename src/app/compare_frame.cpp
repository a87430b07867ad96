#include "app/compare_frame.h"

#include "app/compare_form.h"
#include "app/list_file_writer.h"
#include "core/codepage.h"
#include "core/path.h"
#include "core/tab_text.h"
#include "core/utf8.h"
#include "engine/list_update.h"
#include "engine/unlisted_files.h"
#include "engine/verification_run.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/dialogs.h"
#include "ui/text.h"
#include "win/user_locale.h"

namespace {

enum Column { colName, colHash, colFHash, colBytes, colFBytes, colError };

// The name column leaves room for the state picture.
constexpr int kNamePadding = 18;

// A message box shows this many names of changed files at most, and how many more there are.
constexpr std::size_t kNamesAsked = 20;

std::wstring ChangedFilesQuestion(const std::vector<std::string>& names) {
  std::wstring text = ui::Wide(u8"次のファイルはリストと一致しません。\n\n");
  for (std::size_t i = 0; i < names.size() && i < kNamesAsked; ++i) text += ui::WideFromUtf8(names[i]) + L"\n";
  if (names.size() > kNamesAsked) {
    text += ui::Wide(u8"ほか ") + std::to_wstring(names.size() - kNamesAsked) + ui::Wide(u8" ファイル\n");
  }
  text += ui::Wide(u8"\n新しいハッシュで更新しますか?\n(いいえ: 古い行のまま)");
  return text;
}

}  // namespace

TCompareFrame::TCompareFrame(ui::Control& parent)
    : TListPage(parent, {.panelWidths = {60, 50}, .height = 19},
                {.align = ui::Align::Client,
                 .columns = {{.caption = u8"Name"},
                             {.caption = u8"Hash"},
                             {.caption = u8"FHash"},
                             {.caption = u8"Bytes", .align = ui::ColumnAlign::Right},
                             {.caption = u8"FBytes", .align = ui::ColumnAlign::Right},
                             {.caption = u8"Error"}},
                 .gridLines = true,
                 .rowSelect = true,
                 .readOnly = true,
                 .multiSelect = false},
                kNamePadding),
      correctWord_(ui::Utf8(u8"正常")),
      errorWord_(ui::Utf8(u8"異常")),
      unverifiedWord_(ui::Utf8(u8"未検証")) {
  ListView.SetTabStop(true);
  ListView.SetAccessibleName(u8"比較結果");
  if (auto* form = dynamic_cast<TCompareForm*>(OwnerForm())) ListView.SetStateImages(&form->StateImageList);
}

TCompareFrame::~TCompareFrame() = default;

void TCompareFrame::MakeResultTexts() {
  for (std::size_t result = 0; result < resultTexts_.size(); ++result) {
    resultTexts_[result] = ui::Utf8(VerifyResultText(static_cast<TVerifyResult>(result), kind_));
  }
}

void TCompareFrame::ShowKind(THashType kind) {
  kind_ = kind;
  const std::string kindName = HashColumnTitle(kind_);
  ListView.SetColumnCaption(colHash, kindName);
  ListView.SetColumnCaption(colFHash, "F" + kindName);
}

void TCompareFrame::StartCompare(const std::string& listPath, ChecksumList list, const TRunOptions& options,
                                 const std::stop_token& cancel) {
  ShowKind(list.Kind());
  ListView.SetFocus();
  if (ui::Form* form = OwnerForm()) form->SetCaption(Hint() + " - Compare - Wait - " + ui::App().Title());

  listPath_ = listPath;
  table_ = VerificationTable(std::move(list));
  const ChecksumList& rows = table_.List();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ListFields fields = rows.Fields(i);
    WidenColumn(colName, fields.name);
    WidenColumn(colHash, fields.hash);
    WidenColumn(colBytes, fields.size);
  }
  // No messages run while the rows are read, so one count at the end looks the same as one per
  // row and spares the list a hundred thousand updates.
  ListView.SetItemCount(static_cast<int>(rows.size()));

  const RunScope running(*this);
  // The new page paints in a round of messages, which also answers whatever else waits.
  ui::App().ProcessMessages();
  done_ = correct_ = 0;
  MakeResultTexts();
  const TRunResult result = RunVerification(rows, ExtractFilePath(listPath, IsNeverLeadByte), options,
                                            win::ThousandsSeparator(), *this, cancel);
  runOver_ = !result.cancelled;
  if (runOver_ && options.compareUnlisted) (void)AddUnlistedFiles();
  EndRun(result.cancelled);
}

bool TCompareFrame::UpdateList(const TRunOptions& options, const std::stop_token& cancel) {
  if (!runOver_ || Running() || table_.List().Kind() == THashType::None) return false;
  if (keptToTheEntry_) {
    ShowTextNow(ui::Utf8(u8"更新できません: 一つのファイルだけを照合したページです"));
    return false;
  }
  TListUpdate plan;
  {
    const RunScope running(*this);
    plan = PlanListUpdate(table_, listPath_, options, win::ThousandsSeparator(), *this, cancel);
    Flush();
  }
  ShowRows();
  if (plan.failure != TListUpdateFailure::None) {
    ShowTextNow(ui::Utf8(u8"更新できません: ") + AsUtf8String(ListUpdateFailureText(plan.failure)));
    return false;
  }
  bool replace = false;
  if (!plan.changed.empty()) {
    const int answer =
        ui::MessageBox(ChangedFilesQuestion(plan.changed), ui::App().WideTitle() + ui::Wide(u8" - 更新しますか"),
                       MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer != IDYES && answer != IDNO) {
      ShowTextNow(ui::Utf8(u8"更新しませんでした"));
      return false;
    }
    replace = answer == IDYES;
  }
  const std::string summary = AsUtf8String(ListUpdateSummary(plan));
  if (plan.added.empty() && plan.dropped.empty() && !replace) {
    ShowTextNow(ui::Utf8(u8"変更はありません  ") + summary);
    return false;
  }
  WriteListFile(listPath_, RenderListUpdate(plan, replace));
  StatusBar.Panel(0).SetText(u8"更新");
  ShowTextNow(ui::Utf8(u8"リストを更新しました  ") + summary);
  return true;
}

bool TCompareFrame::AddUnlistedFiles() {
  if (!runOver_ || unlistedAdded_) return false;
  unlistedAdded_ = true;
  const std::size_t before = table_.size();
  // No messages run while the folders are listed: nothing can cancel it meanwhile.
  AddUnlistedRows(table_, FindUnlistedFiles(table_.List(), listPath_, {}));
  for (std::size_t i = before; i < table_.size(); ++i) {
    WidenColumn(colName, table_.Entry(i).name);
    WidenColumn(colError, ui::Utf8(table_.ResultText(i)));
  }
  // Every row has its outcome: the unlisted ones count as verified, with errors.
  done_ = table_.size();
  ListView.SetItemCount(static_cast<int>(table_.size()));
  if (Running()) {
    RowsChanged();
  } else {
    ShowRows();
    ListView.Repaint();
  }
  return true;
}

void TCompareFrame::RowVerified(std::size_t index, TVerification verification) {
  table_.Record(index, verification);
  // A list of 128 digits under a name that does not say their kind: its first file tells.
  if (index == 0 && verification.matchedBlake2b) ShowKind(THashType::BLAKE2b);
  WidenColumn(colFHash, verification.foundHash);
  WidenColumn(colFBytes, verification.foundBytes);
  WidenColumn(colError, verification.result == TVerifyResult::Malformed
                            ? ui::Utf8(table_.ResultText(index))
                            : resultTexts_.at(static_cast<std::size_t>(verification.result)));
  done_ = index + 1;
  if (verification.result == TVerifyResult::Correct) ++correct_;
  // The summary shows with the row, made only when it shows.
  RowsChanged();
}

void TCompareFrame::ShowRows() {
  if (done_ == 0) return;
  ListView.SelectFocusShow(static_cast<int>(done_) - 1);
  ShowTextNow(Summary());
}

void TCompareFrame::EndRun(bool cancelled) {
  Flush();
  if (done_ > 0) {
    ShowRows();
  } else if (cancelled) {
    StatusBar.Panel(1).SetText(std::string_view());
  }
  if (cancelled) {
    StatusBar.Panel(0).SetText(u8"キャンセル");
    return;
  }
  ListView.Repaint();
  StatusBar.Panel(0).SetText(u8"完了");
}

std::string TCompareFrame::Summary() const { return AsUtf8String(VerificationSummary(done_, correct_)); }

void TCompareFrame::GotoError(TSearchDirection direction) {
  const int step = direction == TSearchDirection::sdAbove ? -1 : 1;
  const int n = static_cast<int>(table_.size());
  for (int i = ListView.Selected() + step; i >= 0 && i < n; i += step) {
    const std::optional<TVerifyResult> result = table_.Result(static_cast<std::size_t>(i));
    if (result && *result != TVerifyResult::Correct) {
      ListView.SelectFocusShow(i);
      return;
    }
  }
}

bool TCompareFrame::CopyErrorRows() {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(1 + done_ - correct_);
  rows.push_back({});
  for (int column = 0; column < ListView.ColumnCount(); ++column) rows.back().push_back(ListView.ColumnCaption(column));
  rows.back().emplace_back("State");
  for (std::size_t i = 0; i < table_.size(); ++i) {
    const std::optional<TVerifyResult> result = table_.Result(i);
    if (!result || *result == TVerifyResult::Correct) continue;
    TCompareItem item = Item(i);
    rows.push_back({std::move(item.Name), std::move(item.Hash), std::move(item.FHash), std::move(item.Bytes),
                    std::move(item.FBytes), std::move(item.Error), errorWord_});
  }
  if (rows.size() == 1) {
    ShowTextNow(ui::Utf8(u8"コピーするエラーはありません"));
    return false;
  }
  return ui::SetClipboardText(TabSeparatedText(rows));
}

std::string TCompareFrame::Outcome(TCompareItem& item) const {
  return item.State == 0 ? unverifiedWord_ : item.State == 1 ? correctWord_ : std::move(item.Error);
}

void TCompareFrame::AppendReportRows(std::vector<std::vector<std::string>>& rows) const {
  for (std::size_t i = 0; i < table_.size(); ++i) {
    TCompareItem item = Item(i);
    std::string outcome = Outcome(item);
    rows.push_back({listPath_, std::move(item.Name), HashColumnTitle(table_.Kind(i)), std::move(item.Hash),
                    std::move(item.FHash), PlainDigits(item.Bytes), PlainDigits(item.FBytes), std::move(outcome)});
  }
}

TCompareItem TCompareFrame::Item(std::size_t i) const {
  const ListEntry entry = table_.Entry(i);
  TCompareItem item;
  item.Name = entry.name;
  item.Hash = entry.hash;
  item.Bytes = entry.size;
  const std::optional<TVerifyResult> result = table_.Result(i);
  if (!result) return item;
  TVerification verification = table_.Verification(i);
  item.State = *result == TVerifyResult::Correct ? 1 : 2;
  item.FHash = std::move(verification.foundHash);
  item.FBytes = std::move(verification.foundBytes);
  // A list of mixed tags names each row's mismatch by the row's own kind; a malformed row says
  // its line, an unreadable one its reason.
  const bool ownText = *result == TVerifyResult::Malformed || *result == TVerifyResult::Unreadable ||
                       (*result == TVerifyResult::HashMismatch && table_.Kind(i) != kind_);
  item.Error = ownText ? ui::Utf8(table_.ResultText(i)) : resultTexts_.at(static_cast<std::size_t>(*result));
  return item;
}

void TCompareFrame::ListViewData(int index, ui::ListItemData& item) {
  if (index < 0 || static_cast<std::size_t>(index) >= table_.size()) return;
  TCompareItem row = Item(static_cast<std::size_t>(index));
  item.stateIndex = row.State;
  // A reader cannot see the state picture: to it the Error column says the outcome, as a report
  // does, also where the page shows it blank (a correct or unverified row).
  if (item.forReader) row.Error = Outcome(row);
  item.caption = std::move(row.Name);
  item.subItems = {std::move(row.Hash), std::move(row.FHash), std::move(row.Bytes), std::move(row.FBytes),
                   std::move(row.Error)};
}

void TCompareFrame::ShowNoList(const std::string& path) { ShowPathRow(path, TVerifyResult::NotAList, {}); }

void TCompareFrame::ShowUnreadable(const std::string& path, const std::u8string& reason) {
  ShowPathRow(path, TVerifyResult::Unreadable, reason);
}

void TCompareFrame::ShowPathRow(const std::string& path, TVerifyResult result, const std::u8string& reason) {
  listPath_ = path;
  // The row is the file's, after the rows of an empty list; so it counts, copies and reports as
  // every error row does. A folder's row is its name with the "\" that tells it.
  const std::string folderName = ExtractFileName(ExcludeTrailingPathDelimiter(path, IsNeverLeadByte), IsNeverLeadByte);
  std::string name = path.ends_with('\\') ? folderName + '\\' : folderName;
  MakeResultTexts();
  WidenColumn(colName, name);
  table_ = VerificationTable();
  if (result == TVerifyResult::Unreadable) {
    table_.AddUnreadable(std::move(name), reason);
  } else {
    table_.AddNotAList(std::move(name));
  }
  WidenColumn(colError, ui::Utf8(table_.ResultText(0)));
  done_ = 1;
  correct_ = 0;
  unlistedAdded_ = true;  // nothing is beside a file that is no list
  ListView.SetItemCount(1);
  EndRun(false);
}

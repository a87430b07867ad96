#include "engine/batch_run.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

#include "core/codepage.h"
#include "core/path.h"
#include "core/utf8.h"
#include "core/verification_table.h"
#include "engine/creation_run.h"
#include "engine/intake.h"
#include "engine/list_document.h"
#include "engine/list_file.h"
#include "engine/list_save.h"
#include "engine/list_update.h"
#include "engine/sibling_list.h"
#include "engine/unlisted_files.h"
#include "engine/verification_run.h"
#include "win/file.h"

namespace {

// A run's observer with no window to show or pump: it keeps what the run reports.
class BatchObserver final : public TRunObserver {
 public:
  void FileStarting(std::size_t /*index*/, std::size_t /*count*/) override {}
  void SetText(std::string_view text) override { lastText.assign(text); }
  void ProcessMessages() override {}
  void Settle() override {}
  void RowAdded(ChecksumRow row) override { rows.push_back(std::move(row)); }
  void FileLeftOut(std::string path, THashFailure reason) override { leftOut.emplace_back(std::move(path), reason); }
  void RowVerified(std::size_t index, TVerification verification) override {
    if (table != nullptr) table->Record(index, verification);
  }

  VerificationTable* table = nullptr;
  std::vector<ChecksumRow> rows;
  std::vector<std::pair<std::string, THashFailure>> leftOut;
  std::string lastText;
};

// One line of fields. A name from a list may hold a tab, a line end or a terminal's escape: each
// field is escaped, so that no name forges a field or a line of its own.
std::string Tabbed(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) line += '\t';
    first = false;
    line += EscapedControls(field);
  }
  return line;
}

std::string Tabbed(std::string_view first, std::string_view second) { return Tabbed({first, second}); }

TBatchExit Worse(TBatchExit a, TBatchExit b) { return static_cast<int>(a) >= static_cast<int>(b) ? a : b; }

// Drops the paths that name nothing, each with its line; true when one did.
bool DropMissingPaths(std::vector<std::string>& paths, const TBatchLine& line) {
  const auto missing = [&](const std::string& path) {
    if (win::FileExists(path) || win::DirectoryExists(path)) return false;
    line(Tabbed(path, AsUtf8String(u8"見つかりません")));
    return true;
  };
  const auto end = std::remove_if(paths.begin(), paths.end(), missing);
  const bool any = end != paths.end();
  paths.erase(end, paths.end());
  return any;
}

// Whether the folder (with a trailing "\") is one that the paths name.
bool IsNamedFolder(const TIntakePaths& intake, const std::string& folder) {
  return std::any_of(intake.folders.begin(), intake.folders.end(), [&](const std::string& named) {
    return IncludeTrailingPathDelimiter(named, IsNeverLeadByte) == folder;
  });
}

// One list verified: a line per row that is not correct, then the summary line.
TBatchExit VerifyList(const std::string& path, ChecksumList list, const TRunOptions& options,
                      const std::string& separator, const TBatchLine& line, const std::stop_token& cancel) {
  VerificationTable table(std::move(list));
  BatchObserver observer;
  observer.table = &table;
  const std::string listFolder = ExtractFilePath(path, IsNeverLeadByte);
  const TRunResult result = RunVerification(table.List(), listFolder, options, separator, observer, cancel);
  if (!result.cancelled && options.compareUnlisted) {
    AddUnlistedRows(table, FindUnlistedFiles(table.List(), path, cancel));
  }
  std::size_t correct = 0;
  std::size_t verified = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::optional<TVerifyResult> outcome = table.Result(i);
    if (!outcome) continue;
    ++verified;
    if (*outcome == TVerifyResult::Correct) {
      ++correct;
      continue;
    }
    line(Tabbed({path, table.Entry(i).name, AsUtf8String(table.ResultText(i))}));
  }
  std::string summary = AsUtf8String(VerificationSummary(verified, correct));
  if (result.cancelled) summary += AsUtf8String(u8" キャンセル");
  line(Tabbed(path, summary));
  return result.cancelled || correct < table.size() ? TBatchExit::Failed : TBatchExit::Correct;
}

}  // namespace

TBatchExit RunBatchVerification(std::vector<std::string> paths, const TRunOptions& options,
                                const std::string& separator, const TBatchLine& line, const std::stop_token& cancel) {
  TBatchExit exit = DropMissingPaths(paths, line) ? TBatchExit::Unusable : TBatchExit::Correct;
  std::vector<std::string> verified;
  std::vector<std::string> unlisted;
  const TIntakePaths sorted = SortIntake(paths);
  // What was given by name had to be read; a folder's file or sub-folder that cannot be may have
  // held a list, so the run is no success either.
  const auto unreadable = [&](const std::string& path, THashFailure reason, bool named) {
    line(Tabbed(path, AsUtf8String(UnreadableText(HashFailureText(reason)))));
    exit = Worse(exit, named ? TBatchExit::Unusable : TBatchExit::Failed);
  };
  const auto openLists = [&](const std::vector<std::string>& files, bool named) {
    for (const std::string& path : files) {
      if (cancel.stop_requested()) return;
      TListRead read = ReadChecksumList(path);
      if (read.failure != THashFailure::None) {
        unreadable(path, read.failure, named);
        continue;
      }
      if (read.list.Kind() == THashType::None) {
        // A download given by name: verified against the list beside it that names it.
        TSiblingSearch sibling = named ? FindSiblingList(path) : TSiblingSearch{};
        if (sibling.found) {
          verified.push_back(sibling.found->listPath);
          TRunOptions oneEntry = options;
          oneEntry.compareUnlisted = false;  // the list's other files are not this run's business
          exit = Worse(exit, VerifyList(sibling.found->listPath, std::move(sibling.found->entry), oneEntry, separator,
                                        line, cancel));
          continue;
        }
        // A list beside it that could not be read may have named it.
        for (const TLeftOutPath& unread : sibling.unread) unreadable(unread.path, unread.reason, false);
        // A folder's other files are simply no lists; a named one had to be.
        if (named) {
          line(Tabbed(path, AsUtf8String(u8"チェックサムリストではありません")));
          exit = TBatchExit::Unusable;
        }
        continue;
      }
      verified.push_back(path);
      exit = Worse(exit, VerifyList(path, std::move(read.list), options, separator, line, cancel));
    }
  };
  const auto folderFailed = [&](const TLeftOutPath& folder) {
    unlisted.push_back(folder.path);
    unreadable(folder.path, folder.reason, IsNamedFolder(sorted, folder.path));
  };
  PlanVerificationLists(sorted, options.dirRecursive, openLists, folderFailed, cancel);
  // A folder without a single list would otherwise pass without a word; one that could not be
  // listed has said why.
  for (const std::string& folder : sorted.folders) {
    const std::string prefix = IncludeTrailingPathDelimiter(folder, IsNeverLeadByte);
    const auto inFolder = [&](const std::string& list) { return list.starts_with(prefix); };
    if (!cancel.stop_requested() && std::none_of(verified.begin(), verified.end(), inFolder) &&
        std::find(unlisted.begin(), unlisted.end(), prefix) == unlisted.end()) {
      line(Tabbed(folder, AsUtf8String(u8"チェックサムリストがありません")));
      exit = TBatchExit::Unusable;
    }
  }
  return verified.empty() ? TBatchExit::Unusable : exit;
}

TBatchExit RunBatchCreation(std::vector<std::string> paths, const TRunOptions& options, const std::string& separator,
                            const TBatchLine& line, const std::stop_token& cancel) {
  TBatchExit exit = DropMissingPaths(paths, line) ? TBatchExit::Unusable : TBatchExit::Correct;
  bool anyHashed = false;
  const TIntakePaths sorted = SortIntake(paths);
  PlanCreationPages(sorted, options.dirList, options.dirRecursive, [&](const TPageFiles& page, const std::string&) {
    if (cancel.stop_requested() || page.Empty()) return;
    const std::string baseFolder = BaseFolderOf(page);
    BatchObserver observer;
    const TRunResult result = RunCreation(page, baseFolder, options, separator, observer, cancel);
    for (const auto& [path, reason] : observer.leftOut) line(Tabbed(path, AsUtf8String(HashFailureText(reason))));
    if (result.cancelled || result.leftOut > 0) exit = Worse(exit, TBatchExit::Failed);
    // A folder given by name that could not be listed whole is not what was asked for.
    for (const TLeftOutPath& folder : page.unlistedFolders) {
      if (IsNamedFolder(sorted, folder.path)) exit = TBatchExit::Unusable;
    }
    if (result.cancelled || observer.rows.empty()) return;
    anyHashed = true;
    const TListDocument document =
        MakeListDocument(options.kind, observer.rows, baseFolder, observer.lastText, options);
    const std::string path = AutoSavePath(document);
    const TSaveOutcome saved = SaveListBytes(path, document.bytes, options.autoSaveForceOverwrite);
    if (saved != TSaveOutcome::Saved) {
      line(Tabbed(path, AsUtf8String(saved == TSaveOutcome::Kept ? u8"既にあるため保存しません" : u8"保存できません")));
      exit = TBatchExit::Unusable;
      return;
    }
    line(Tabbed(path, observer.lastText));
  });
  return anyHashed ? exit : TBatchExit::Unusable;
}

TBatchExit RunBatchUpdate(const std::string& path, const TRunOptions& options, const std::string& separator,
                          const TBatchLine& line, const std::stop_token& cancel) {
  if (!win::FileExists(path)) {
    line(Tabbed(path, AsUtf8String(u8"見つかりません")));
    return TBatchExit::Unusable;
  }
  TListRead read = ReadChecksumList(path);
  if (read.failure != THashFailure::None) {
    line(Tabbed(path, AsUtf8String(UnreadableText(HashFailureText(read.failure)))));
    return TBatchExit::Unusable;
  }
  if (read.list.Kind() == THashType::None) {
    line(Tabbed(path, AsUtf8String(u8"チェックサムリストではありません")));
    return TBatchExit::Unusable;
  }
  VerificationTable table(std::move(read.list));
  BatchObserver observer;
  observer.table = &table;
  const TRunResult result =
      RunVerification(table.List(), ExtractFilePath(path, IsNeverLeadByte), options, separator, observer, cancel);
  TListUpdate plan;
  if (result.cancelled) {
    plan.failure = TListUpdateFailure::Cancelled;
  } else {
    plan = PlanListUpdate(table, path, options, separator, observer, cancel);
  }
  if (plan.failure != TListUpdateFailure::None) {
    line(Tabbed(path, AsUtf8String(ListUpdateFailureText(plan.failure))));
    return plan.failure == TListUpdateFailure::Cancelled ? TBatchExit::Failed : TBatchExit::Unusable;
  }
  // The batch never replaces a record: a changed file keeps its old line, and the run says so.
  if ((!plan.added.empty() || !plan.dropped.empty()) &&
      SaveListBytes(path, RenderListUpdate(plan, false), true) != TSaveOutcome::Saved) {
    line(Tabbed(path, AsUtf8String(u8"保存できません")));
    return TBatchExit::Unusable;
  }
  const auto each = [&](const std::vector<std::string>& names, std::u8string_view what) {
    for (const std::string& name : names) line(Tabbed({path, name, AsUtf8String(what)}));
  };
  each(plan.added, u8"追加");
  each(plan.dropped, u8"削除 (見つかりません)");
  each(plan.changed, u8"一致しません: 古い行のまま");
  each(plan.unchecked, u8"読めません: 古い行のまま");
  for (const TLeftOutPath& left : plan.leftOut) {
    line(Tabbed({path, left.path, AsUtf8String(UnreadableText(HashFailureText(left.reason)))}));
  }
  line(Tabbed(path, AsUtf8String(ListUpdateSummary(plan))));
  const bool complete = plan.changed.empty() && plan.unchecked.empty() && plan.leftOut.empty();
  return complete ? TBatchExit::Correct : TBatchExit::Failed;
}

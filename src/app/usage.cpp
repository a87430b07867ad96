#include "app/usage.h"

#include "core/utf8.h"

namespace {

// One line per option word, in the order OptionWords() gives them; a test holds the two together.
constexpr const char8_t* kLines[] = {
    u8"使い方: ruvo.exe [オプション] パス...",
    u8"  パスのみ      メインウィンドウで押されている種類でリストを作成",
    u8"  -c            照合: パスはチェックサムリスト、またはリストのあるフォルダ",
    u8"  -update       リストを照合し、追加・削除したファイルに合わせて書き直す",
    u8"  -t1           CRC16 で作成 (この実行だけ)",
    u8"  -t3           CRC32 で作成 (この実行だけ)",
    u8"  -tm           MD5 で作成 (この実行だけ)",
    u8"  -t256         SHA-256 で作成 (この実行だけ)",
    u8"  -tb3          BLAKE3 で作成 (この実行だけ; 速く安全、古いツールは読めません)",
    u8"  -r            フォルダをサブフォルダまで検索",
    u8"  -one          ディレクトリ毎ではなく全体で一つのリスト",
    u8"  -f            既にあるリストを上書き",
    u8"  -u            照合でリストにないファイルも報告",
    u8"  -q            ウィンドウなし: 問題ごとに一行と終了コード",
    u8"  -u8           -q の出力を UTF-8 で",
    u8"  -sel          エクスプローラーの選択: 同時に同じオプションで起動した分を一つの作業に",
    u8"  -register     エクスプローラーの右クリックメニューに登録 (このユーザーのみ)",
    u8"  -unregister   その登録を削除",
    u8"  -h            この説明を表示して終了",
    u8"  -?            -h と同じ (/? と --help も)",
    u8"オプションは - でも / でも始められます。-r -one -f -u はこの実行だけで、設定ファイルは変わりません。",
    u8"終了コード:",
    u8"  0  すべて正常 (作成: すべて保存)",
    u8"  1  異常な行、リストにないファイル、読めずに除いたファイルがある",
    u8"  2  パスがない・リストではない、保存できない、不明なオプション、何もしていない",
};

}  // namespace

std::vector<std::string> UsageLines(std::string_view settingsPath) {
  std::vector<std::string> lines;
  for (const char8_t* line : kLines) lines.push_back(AsUtf8String(line));
  lines.push_back(AsUtf8String(u8"設定ファイル: ") + std::string(settingsPath));
  return lines;
}

#include "app/shell_menus.h"

#include <string>
#include <string_view>

#include "core/utf8.h"
#include "win/unicode.h"

namespace {

// The list files that verification reads by their extension; the "*SUMS" names have no extension
// and take the menu of every file.
constexpr std::wstring_view kListExtensions[] = {L".md5", L".sha1", L".sha224", L".sha256", L".sha384",  L".sha512",
                                                 L".sfv", L".crc",  L".crc32",  L".b2",     L".blake2b", L".b3"};

constexpr wchar_t kListClass[] = L"Ruvo.List";

// The verb is offered for any number of selected items (without it Explorer hides it beyond
// fifteen). Explorer still starts its command once per item; "-sel" joins those processes.
constexpr wchar_t kSelection[] = L"Player";

struct Kind {
  const wchar_t* key;  // sub-verbs are shown in the order of their names
  const wchar_t* caption;
  const wchar_t* option;
};
constexpr Kind kKinds[] = {{L"1.CRC16", L"CRC16", L"-t1"},
                           {L"2.CRC32", L"CRC32", L"-t3"},
                           {L"3.MD5", L"MD5", L"-tm"},
                           {L"4.SHA256", L"SHA-256", L"-t256"}};

std::wstring Wide(std::u8string_view text) { return win::WideFromUtf8(AsUtf8String(text)); }

class Values {
 public:
  explicit Values(const std::string& exePath) : exe_(L"\"" + win::WideFromUtf8(exePath) + L"\"") {}

  void Text(const std::wstring& key, const wchar_t* name, std::wstring text) {
    values_.push_back({.key = key, .name = name, .text = std::move(text)});
  }
  // A verb whose command is the program with options and the item, quoted: paths with blanks
  // reach it whole. "-sel" joins the processes Explorer starts for the items of one selection.
  void Verb(const std::wstring& key, const wchar_t* options) {
    Text(key + L"\\command", L"", exe_ + L" -sel " + options + (*options != L'\0' ? L" " : L"") + L"\"%1\"");
  }
  void Icon(const std::wstring& key, const wchar_t* name) { Text(key, name, exe_ + L",0"); }
  void Empty(const std::wstring& key, const wchar_t* name) {
    values_.push_back({.key = key, .name = name, .text = std::nullopt});
  }

  std::vector<win::ClassValue> Take() { return std::move(values_); }

 private:
  std::wstring exe_;
  std::vector<win::ClassValue> values_;
};

void CreationMenus(Values& values, const std::wstring& shell) {
  const std::wstring create = shell + L"\\Ruvo.Create";
  values.Text(create, L"", Wide(u8"Ruvo でリスト作成"));
  values.Text(create, L"MultiSelectModel", kSelection);
  values.Icon(create, L"Icon");
  values.Verb(create, L"");

  const std::wstring kinds = shell + L"\\Ruvo.CreateKind";
  values.Text(kinds, L"MUIVerb", Wide(u8"Ruvo で種類を選んでリスト作成"));
  values.Text(kinds, L"MultiSelectModel", kSelection);
  values.Icon(kinds, L"Icon");
  // An empty SubCommands makes the verb a sub-menu of the verbs in its own "shell" key.
  values.Text(kinds, L"SubCommands", L"");
  for (const Kind& kind : kKinds) {
    const std::wstring verb = kinds + L"\\shell\\" + kind.key;
    values.Text(verb, L"MUIVerb", kind.caption);
    values.Verb(verb, kind.option);
  }
}

void VerificationVerb(Values& values, const std::wstring& verb) {
  values.Text(verb, L"", Wide(u8"Ruvo で照合"));
  values.Text(verb, L"MultiSelectModel", kSelection);
  values.Icon(verb, L"Icon");
  values.Verb(verb, L"-c");
}

TShellMenuOutcome ForEachValue(const std::string& exePath, LSTATUS (*apply)(const win::ClassValue&)) {
  TShellMenuOutcome outcome;
  for (const win::ClassValue& value : ShellMenuValues(exePath)) {
    const LSTATUS status = apply(value);
    if (status != ERROR_SUCCESS && outcome.Ok()) outcome.error = status;
  }
  win::NotifyAssociationsChanged();
  return outcome;
}

}  // namespace

std::vector<win::ClassValue> ShellMenuValues(const std::string& exePath) {
  Values values(exePath);
  CreationMenus(values, L"*\\shell");
  CreationMenus(values, L"Directory\\shell");
  // The lists that have no extension, by their name: shown on the files whose name matches.
  const std::wstring sums = L"*\\shell\\Ruvo.VerifySums";
  VerificationVerb(values, sums);
  values.Text(sums, L"AppliesTo", L"System.FileName:~\"*SUMS\"");
  // On the extension's own menu, beside whatever program it belongs to, which stays its default.
  for (const std::wstring_view extension : kListExtensions) {
    VerificationVerb(values, L"SystemFileAssociations\\" + std::wstring(extension) + L"\\shell\\Ruvo.Verify");
    values.Empty(std::wstring(extension) + L"\\OpenWithProgids", kListClass);
  }
  // What "プログラムから開く" starts: a verification.
  const std::wstring listClass = kListClass;
  values.Text(listClass, L"", Wide(u8"チェックサムリスト"));
  values.Icon(listClass + L"\\DefaultIcon", L"");
  values.Verb(listClass + L"\\shell\\open", L"-c");
  return values.Take();
}

TShellMenuOutcome RegisterShellMenus(const std::string& exePath) {
  return ForEachValue(exePath, &win::WriteClassValue);
}

TShellMenuOutcome UnregisterShellMenus(const std::string& exePath) {
  return ForEachValue(exePath, &win::RemoveClassValue);
}

std::string ShellMenuOutcomeLine(bool registering, const TShellMenuOutcome& outcome) {
  if (outcome.Ok()) {
    return AsUtf8String(registering ? u8"エクスプローラーのメニューに登録しました"
                                    : u8"エクスプローラーのメニューから削除しました");
  }
  return AsUtf8String(registering ? u8"登録できません (エラー " : u8"削除できません (エラー ") +
         std::to_string(outcome.error) + ")";
}

// The sounds at the end of a run, before a question and for an unreadable list: a WAV file from
// the "sounds" folder beside the program when the user put one there, else a system beep.
#include "app/main_form.h"

#include <mmsystem.h>

#include <cstddef>

#include "core/codepage.h"
#include "core/path.h"
#include "ui/application.h"
#include "win/file.h"
#include "win/late_bound.h"
#include "win/unicode.h"
#include "win/user_locale.h"

namespace {

struct SoundOfKind {
  const char* file;
  UINT beep;
};

// Indexed by TSoundKind.
constexpr SoundOfKind kSounds[] = {
    {"done.wav", MB_OK},
    {"cancel.wav", MB_ICONEXCLAMATION},
    {"question.wav", MB_ICONEXCLAMATION},
    {"error.wav", MB_ICONEXCLAMATION},
};

}  // namespace

void TMainForm::PlayCompletionSound(TSoundKind kind) {
  ui::App().ProcessMessages();

  auto index = static_cast<std::size_t>(kind);
  if (index >= std::size(kSounds)) return;
  const SoundOfKind& sound = kSounds[index];

  std::string base =
      SoundBaseFolder.empty() ? ExtractFilePath(win::ExecutablePath(), IsNeverLeadByte) : SoundBaseFolder;
  std::string path = base + "sounds\\" + sound.file;
  // Neither result is looked at: a sound that does not play is no error.
  if (win::FileExists(path)) {
    if (PlaySoundFile) {
      PlaySoundFile(path);
    } else {
      // winmm loads with the first sound.
      static auto* const playSound = win::LateBound<decltype(PlaySoundW)>(L"winmm.dll", "PlaySoundW");
      if (playSound != nullptr) playSound(win::WideFromUtf8(path).c_str(), nullptr, SND_ASYNC);
    }
  } else {
    if (Beep) {
      Beep(sound.beep);
    } else {
      MessageBeep(sound.beep);
    }
  }
}

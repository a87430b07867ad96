#include "engine/list_save.h"

#include "win/atomic_write.h"
#include "win/file.h"

TSaveOutcome SaveListBytes(const std::string& path, std::string_view bytes, bool overwrite,
                           const TAskOverwrite& askOverwrite) {
  if (!overwrite && win::FileExists(path) && !(askOverwrite && askOverwrite(path))) return TSaveOutcome::Kept;
  switch (win::WriteFileAtomically(path, bytes)) {
    case win::WriteResult::Written: return TSaveOutcome::Saved;
    case win::WriteResult::CannotCreate: return TSaveOutcome::CannotCreate;
    case win::WriteResult::CannotWrite: return TSaveOutcome::CannotWrite;
  }
  return TSaveOutcome::CannotWrite;
}

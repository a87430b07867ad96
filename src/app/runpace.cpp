#include "app/runpace.h"

#include "ui/application.h"

void TRunPacer::Pump() {
  ui::App().ProcessMessages();
  Shown();
}

void TPacedProgress::SetText(std::string_view text) {
  text_.assign(text);
  // With message runs the text shows together with them, in ProcessMessages.
  if (!runMessages_ && pacer_.Due()) {
    pacer_.Begin();
    Show();
    pacer_.Shown();
  }
}

void TPacedProgress::ProcessMessages() {
  if (!pacer_.Due()) return;
  pacer_.Begin();
  Show();
  pacer_.Pump();
}

void TPacedProgress::Show() {
  if (beforeShow_) beforeShow_();
  panel_.SetText(std::string_view(text_));
}

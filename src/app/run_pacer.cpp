#include "app/run_pacer.h"

#include "ui/application.h"

void TRunPacer::Pump() {
  ui::App().ProcessMessages();
  Shown();
}

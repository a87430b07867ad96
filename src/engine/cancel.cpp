#include "engine/cancel.h"

std::atomic<bool> CancelFlag{false};

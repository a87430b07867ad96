#include "engine/cancel.h"

bool CancelFlag = false;

#pragma once

// The program's md5 unit. The digest itself is portable and lives in the core, where it is
// tested natively; HashFile is its only user here.
#include "core/md5.h"

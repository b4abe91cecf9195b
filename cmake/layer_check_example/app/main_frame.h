#pragma once
// Example tree of the ladder check: app/ may include dialogs/ and the core.

#include <vector>

#include "dialogs/open_window.h"
#include "video/frame.h"

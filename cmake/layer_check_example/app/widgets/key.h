#pragma once
// Example tree of the ladder check: a subfolder off the ladder belongs to app/; a relative
// include is resolved from the including file's folder.

#include "../main_frame.h"
#include "dialogs/open_window.h"

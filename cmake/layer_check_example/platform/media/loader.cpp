// Example tree of the ladder check: platform/media sits below video/, so this is refused.

#include "video/frame.h"

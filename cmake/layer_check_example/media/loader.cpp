// Example tree of the ladder check: media sits below video/, so this is refused.

#include "video/frame.h"

#pragma once
// Example tree of the ladder check: video/ffmpeg sits on video/.

#include "video/frame.h"

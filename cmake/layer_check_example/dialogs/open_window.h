#pragma once
// Example tree of the ladder check: an upward include, which the check refuses.

#include "app/main_frame.h"

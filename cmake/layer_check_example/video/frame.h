#pragma once
// Example tree of the ladder check: a header of the video rung.

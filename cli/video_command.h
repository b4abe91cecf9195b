#pragma once
// mozu-cli video: a PC video (or a marked range of it) to a SymbOS video file.

namespace mozu {

// argv[0] is "video"; returns the exit status.
int RunVideoCommand(int argc, char** argv);

}  // namespace mozu

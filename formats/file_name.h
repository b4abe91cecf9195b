#pragma once
// File names of the files the writers make: the AMSDOS name that goes into a header, and the
// check before an existing file is replaced.

#include <string>

#include "platform/asker.h"

namespace mozu {

// The first 7 characters of the path's file name with everything from its first dot on cut
// off: /pics/sunset0.rim gives "sunset0", /pics/holiday0.rim gives "holiday".
std::string AMSname(const std::string& path);

// The path a writer is to write: `path` itself when no file of that name exists or the user
// agrees to replace it; otherwise the path with the name the user enters instead (at most 7
// characters, keeping the last character before the extension and the extension), checked
// again. A user who neither agrees nor gives a name (no answer) ends the save with IoError.
std::string CheckFileName(Asker& asker, const std::string& path);

}  // namespace mozu

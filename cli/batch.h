#pragma once
// Running one task per input on several threads, with a progress bar on a terminal (one plain
// line a finished input otherwise) and the tally of failures.

#include <functional>
#include <string>
#include <vector>

namespace mozu::cli {

struct BatchReport {
    int done = 0;
    int failed = 0;
};

// Runs task(i) for i in 0 .. names.size()-1 on up to `jobs` threads. A task reports success by
// returning normally; whatever it throws is printed as one line "mozu-cli: ..." on stderr and
// counted as a failure, and never stops the others. `verb` names the work in the progress lines
// ("converted"). Progress goes to stderr only when `progress` is set.
BatchReport RunBatch(const std::vector<std::string>& names, int jobs, bool progress,
                     const std::string& verb, const std::function<void(std::size_t)>& task);

// Writes `text` to stdout in one piece (lines of parallel tasks never mix).
void PrintOut(const std::string& text);

}  // namespace mozu::cli

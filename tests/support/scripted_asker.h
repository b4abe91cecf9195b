#pragma once
// The one fake user of the tests and benchmarks: answers come from a script, every question,
// name request and notice is recorded for the checks.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/asker.h"

namespace mozu::test {

// What a yes/no question gets once the script's answers are used up.
enum class Otherwise { kNo, kYes };

class ScriptedAsker : public Asker {
  public:
    explicit ScriptedAsker(Otherwise otherwise = Otherwise::kNo)
        : otherwiseYes(otherwise == Otherwise::kYes) {}

    struct NameRequest {
        std::string prompt;
        int maxLength;
        bool operator==(const NameRequest&) const = default;
    };

    // The script: answers to the next yes/no questions and name requests, in order. A name
    // request with no answer left gets none (nullopt).
    std::deque<bool> yesNo;
    std::deque<std::optional<std::string>> names;
    bool otherwiseYes;

    // What was asked and told, in order.
    std::vector<std::string> questions;  // yes/no questions
    std::vector<NameRequest> nameRequests;
    std::vector<std::string> notices;

    // True when nothing was asked (notices do not count).
    bool askedNothing() const { return questions.empty() && nameRequests.empty(); }

    bool askYesNo(const std::string& text) override;
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override;
    void notify(const std::string& text) override { notices.push_back(text); }
};

}  // namespace mozu::test

#include "tests/support/scripted_asker.h"

namespace mozu::test {

bool ScriptedAsker::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (yesNo.empty()) return otherwiseYes;
    const bool answer = yesNo.front();
    yesNo.pop_front();
    return answer;
}

std::optional<std::string> ScriptedAsker::askName(const std::string& prompt, int maxLength) {
    nameRequests.push_back({prompt, maxLength});
    if (names.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(names.front());
    names.pop_front();
    return answer;
}

}  // namespace mozu::test

#include "support/ScriptedUserInterface.h"

namespace lumetra::test {

void TScriptedUserInterface::ShowMessage(const std::string& text) { Messages.push_back(text); }

bool TScriptedUserInterface::AskYesNo(const std::string& title, const std::string& question) {
    Questions.push_back(question);
    QuestionTitles.push_back(title);
    if (YesNoAnswers.empty()) {
        return false;
    }
    const bool answer = YesNoAnswers.front();
    YesNoAnswers.pop_front();
    return answer;
}

bool TScriptedUserInterface::AskWarning(const std::string& title, const std::string& question) {
    Warnings.push_back(question);
    return AskYesNo(title, question);
}

bool TScriptedUserInterface::InputText(const std::string&, const std::string& prompt, std::string& value) {
    Prompts.push_back(prompt);
    if (TextAnswers.empty()) {
        return false;
    }
    value = TextAnswers.front();
    TextAnswers.pop_front();
    return true;
}

int TScriptedUserInterface::ChooseFromList(const std::string&, const std::vector<std::string>& items) {
    Lists.push_back(items);
    if (ListAnswers.empty()) {
        return -1;
    }
    const int answer = ListAnswers.front();
    ListAnswers.pop_front();
    return answer;
}

void TScriptedUserInterface::ShowProgress(const std::string&, int maximum) {
    ProgressVisible = true;
    ProgressMaximum = maximum;
}

void TScriptedUserInterface::UpdateProgress(int position, const std::string&) {
    ProgressPositions.push_back(position);
}

void TScriptedUserInterface::HideProgress() { ProgressVisible = false; }

std::string TScriptedUserInterface::Translate(const std::string& english) const {
    const auto it = Translations.find(english);
    return it == Translations.end() ? english : it->second;
}

} // namespace lumetra::test

#pragma once
// A user who answers from a script and remembers what was asked, for tests of
// operations that reach the user.

#include "core/UserInterface.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumetra::test {

// A clock whose pauses only advance its own time.
class TManualClock final : public TClock {
public:
    void Pause(std::uint32_t milliseconds) override {
        Now += milliseconds;
        Pauses.push_back(milliseconds);
        if (auto happening = std::exchange(OnNextPause, nullptr))
            happening();
    }
    std::uint64_t NowMilliseconds() override { return Now; }

    std::uint64_t Now = 0;
    std::vector<std::uint32_t> Pauses;
    // Runs once, at the next pause: what a window may do while an operation waits.
    std::function<void()> OnNextPause;
};

class TScriptedUserInterface final : public TUserInterface {
public:
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    bool AskWarning(const std::string& title, const std::string& question) override;
    bool InputText(const std::string& title, const std::string& prompt, std::string& value) override;
    int ChooseFromList(const std::string& title, const std::vector<std::string>& items) override;
    void ShowProgress(const std::string& title, int maximum) override;
    void UpdateProgress(int position, const std::string& text) override;
    void HideProgress() override;
    void ProcessPendingEvents() override { ++PendingEventRuns; }
    std::string Translate(const std::string& english) const override;
    TClock& Clock() override { return ManualClock; }

    // Answers, taken in order; an exhausted script answers No, Cancel and -1.
    std::deque<bool> YesNoAnswers;
    std::deque<std::string> TextAnswers; // each answer confirms the input box
    std::deque<int> ListAnswers;
    std::map<std::string, std::string> Translations;

    // What happened.
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::vector<std::string> QuestionTitles;
    std::vector<std::string> Warnings; // the questions asked with a warning (also in Questions)
    std::vector<std::string> Prompts;
    std::vector<std::vector<std::string>> Lists;
    std::vector<int> ProgressPositions;
    bool ProgressVisible = false;
    int ProgressMaximum = 0;
    int PendingEventRuns = 0;
    TManualClock ManualClock;
};

} // namespace lumetra::test

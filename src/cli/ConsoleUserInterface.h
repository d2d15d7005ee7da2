#pragma once
// The user seam for the console. Nothing ever waits on stdin: every question is answered
// from the answers the command's options preset, and an unanswered one gets No, Cancel
// or no choice. Messages, and progress when asked for, go to the message stream (stderr).

#include "core/UserInterface.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace lumetra::cli {

class TConsoleUserInterface final : public TUserInterface {
public:
    explicit TConsoleUserInterface(std::ostream& messages, bool showProgress = false);

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    bool InputText(const std::string& title, const std::string& prompt, std::string& value) override;
    int ChooseFromList(const std::string& title, const std::vector<std::string>& items) override;
    void ShowProgress(const std::string& title, int maximum) override;
    void UpdateProgress(int position, const std::string& text) override;
    void HideProgress() override;
    void ProcessPendingEvents() override {}
    std::string Translate(const std::string& english) const override { return english; }
    TClock& Clock() override { return SystemClock; }

    // Preset answers: by the question, by the input box's prompt, by the list's title.
    std::map<std::string, bool> YesNoAnswers;
    std::map<std::string, std::string> TextAnswers;
    std::map<std::string, int> ListAnswers;

private:
    std::ostream& Messages;
    bool ProgressEnabled;
    bool ProgressOpen = false;
    std::string ProgressTitle;
    int ProgressMaximum = 0;
    int LastPercent = -1;
    TSystemClock SystemClock;
};

} // namespace lumetra::cli

#pragma once
// A user for tests on a real line (a pseudo-terminal with a simulated instrument).
//
// Its clock splits pauses by length: a pause shorter than RealPauseLimit (the 5 ms
// after each request byte) is slept for real, because it shapes what the instrument
// sees on the line; a longer one (the 2000 ms between download attempts) is only added
// to the clock's own time and recorded, so retry tests need not wait it out. Reads
// wait on the machine's steady clock in any case. A test that runs thousands of
// exchanges may set RealPauseLimit to 0 to skip the byte pauses as well.

#include "core/UserInterface.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace lumetra::test {

class TSplitClock final : public TClock {
public:
    void Pause(std::uint32_t milliseconds) override {
        if (milliseconds < RealPauseLimit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            ++RealPauses;
        } else {
            Skipped += milliseconds;
            LongPauses.push_back(milliseconds);
        }
    }
    std::uint64_t NowMilliseconds() override { return Real.NowMilliseconds() + Skipped; }

    std::uint32_t RealPauseLimit = 100;
    int RealPauses = 0;
    std::vector<std::uint32_t> LongPauses; // the pauses not slept, in order
    std::uint64_t Skipped = 0;

private:
    TSystemClock Real;
};

class TLineUserInterface final : public TUserInterface {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& question) override {
        Questions.push_back(question);
        return false;
    }
    bool InputText(const std::string&, const std::string& prompt, std::string&) override {
        Questions.push_back(prompt);
        return false;
    }
    int ChooseFromList(const std::string& title, const std::vector<std::string>&) override {
        Questions.push_back(title);
        return -1;
    }
    void ShowProgress(const std::string& title, int) override {
        ProgressTitle = title;
        ProgressVisible = true;
        ++ProgressShown;
    }
    void UpdateProgress(int position, const std::string& text) override {
        ProgressPositions.push_back(position);
        ProgressTexts.push_back(text);
    }
    void HideProgress() override { ProgressVisible = false; }
    void ProcessPendingEvents() override { ++PendingEventRuns; }
    std::string Translate(const std::string& english) const override { return english; }
    TClock& Clock() override { return SplitClock; }

    std::vector<std::string> Messages;
    std::vector<std::string> Questions; // every question, prompt or list title asked
    std::string ProgressTitle;
    bool ProgressVisible = false;
    int ProgressShown = 0;
    std::vector<int> ProgressPositions;
    std::vector<std::string> ProgressTexts;
    int PendingEventRuns = 0;
    TSplitClock SplitClock;
};

} // namespace lumetra::test

#pragma once
// The user seam of the core, answered with Qt dialogs.

#include "core/UserInterface.h"

#include <QProgressDialog>
#include <QWidget>

#include <memory>

namespace lumetra {

class TTranslationCatalog;

class TQtUserInterface final : public TUserInterface {
public:
    TQtUserInterface(QWidget* parent, const TTranslationCatalog& catalog);
    ~TQtUserInterface() override;

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    bool InputText(const std::string& title, const std::string& prompt, std::string& value) override;
    int ChooseFromList(const std::string& title, const std::vector<std::string>& items) override;
    void ShowProgress(const std::string& title, int maximum) override;
    void UpdateProgress(int position, const std::string& text) override;
    void HideProgress() override;
    void ProcessPendingEvents() override;
    std::string Translate(const std::string& english) const override;
    TClock& Clock() override { return SystemClock; }

private:
    QWidget* Parent;
    const TTranslationCatalog& Catalog;
    std::unique_ptr<QProgressDialog> Progress;
    TSystemClock SystemClock;
};

} // namespace lumetra

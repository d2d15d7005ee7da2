#pragma once
// The main window: the program's one top-level window.

#include "evaluation/PhysicalUnits.h"
#include "i18n/Translation.h"
#include "ui/QtUserInterface.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include <string>

namespace lumetra {

class TMainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // `programFolder` holds the translation catalog and the language file.
    explicit TMainWindow(const std::string& programFolder, QWidget* parent = nullptr);

    const TTranslationCatalog& Catalog() const { return TranslationCatalog; }
    const std::string& StartDirectory() const { return StartDir; }
    const std::string& CurrentFileName() const { return CurrentFile; }
    const TPhysicalUnits& CurrentUnits() const { return Units; }

    QComboBox* CultureBox1 = nullptr;
    QLineEdit* CommentEdit = nullptr;
    QPushButton* UnitButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetInitValues();
    void ShowSoftwareVersion();
    void FormCloseQuery();
    void CultureChosen(int index);
    void Retranslate();
    QString Tr(const char* english) const;

    std::string ProgramFolder;
    TTranslationCatalog TranslationCatalog;
    TQtUserInterface UserInterface;
    std::string StartDir;
    std::string CurrentFile;
    TPhysicalUnits Units;
    QLabel* LanguageLabel = nullptr;
    QLabel* FileLabel = nullptr;
};

QString ProgramCaption();

} // namespace lumetra

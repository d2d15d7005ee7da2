#include "ui/QtUserInterface.h"

#include "i18n/Translation.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace lumetra {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }


} // namespace

QString ProgramCaption() { return QStringLiteral("Merix Lumetra 6.6.0"); }

TQtUserInterface::TQtUserInterface(QWidget* parent, const TTranslationCatalog& catalog)
    : Parent(parent), Catalog(catalog) {}

TQtUserInterface::~TQtUserInterface() = default;

void TQtUserInterface::ShowMessage(const std::string& text) {
    // Texts made of lines ended by a carriage return (the instruments' readings) break
    // where they end: a Qt label breaks lines at line feeds only.
    QString shown = Q(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox::information(Parent, ProgramCaption(), shown.trimmed());
}

bool TQtUserInterface::AskYesNo(const std::string& title, const std::string& question) {
    return QMessageBox::question(Parent, Q(title), Q(question), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool TQtUserInterface::AskWarning(const std::string& title, const std::string& question) {
    return QMessageBox::warning(Parent, Q(title), Q(question), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool TQtUserInterface::InputText(const std::string& title, const std::string& prompt, std::string& value) {
    bool ok = false;
    const QString answer = QInputDialog::getText(Parent, Q(title), Q(prompt), QLineEdit::Normal, Q(value), &ok);
    if (ok) {
        value = answer.toStdString();
    }
    return ok;
}

int TQtUserInterface::ChooseFromList(const std::string& title, const std::vector<std::string>& items) {
    QStringList list;
    for (const auto& item : items) {
        list << Q(item);
    }
    bool ok = false;
    const QString choice = QInputDialog::getItem(Parent, Q(title), QString(), list, 0, false, &ok);
    return ok ? static_cast<int>(list.indexOf(choice)) : -1;
}

void TQtUserInterface::ShowProgress(const std::string& title, int /*maximum*/) {
    // Neither download knows the number of records in advance: a count, no bar.
    Progress = std::make_unique<QDialog>(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Progress->setWindowTitle(Q(title));
    Progress->setFixedSize(200, 80);
    auto* caption = new QLabel(Q(Catalog.Translate("Records:")), Progress.get());
    caption->setGeometry(20, 28, 80, 24);
    ProgressCount = new QLabel(QStringLiteral("-"), Progress.get());
    ProgressCount->setGeometry(100, 28, 80, 24);
    QFont bold = ProgressCount->font();
    bold.setBold(true);
    ProgressCount->setFont(bold);
    Progress->setWindowModality(Qt::WindowModal);
    Progress->show();
    QApplication::processEvents();
}

void TQtUserInterface::UpdateProgress(int position, const std::string& text) {
    if (Progress && ProgressCount)
        ProgressCount->setText(text.empty() ? QString::number(position) : Q(text));
}

QString TQtUserInterface::ProgressText() const { return ProgressCount && Progress ? ProgressCount->text() : QString(); }

void TQtUserInterface::HideProgress() {
    ProgressCount = nullptr;
    Progress.reset();
}

void TQtUserInterface::ProcessPendingEvents() { QApplication::processEvents(); }

std::string TQtUserInterface::Translate(const std::string& english) const { return Catalog.Translate(english); }

} // namespace lumetra

// The measurement protocol of the bordered range, printed from the main window.

#include "ui/MainWindow.h"

#include "evaluation/IntegralData.h"
#include "ui/ProtocolPrinter.h"

#include <QPrintDialog>
#include <QPrinter>

namespace lumetra {

bool TMainWindow::ChoosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(Tr("Print Protocol"));
    return dialog.exec() == QDialog::Accepted;
}

void TMainWindow::PrintProtocol() {
    if (!Measured->Valid || !PrintProtocolButton->isEnabled())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrinter(printer))
        return;
    // Asked for this printout only; cancelling keeps the data set's own comment.
    std::string comment = Raw->Comment;
    (void)User().InputText(T("Add comment to protocol"), T("Comment:"), comment);

    TProtocolInputs inputs;
    inputs.Raw = Raw.get();
    inputs.Data = Measured.get();
    inputs.Integral = Integral.get();
    inputs.Smoothed = SmoothedSeries.get();
    inputs.DisplayMode = ViewState.RadonDisplayMode;
    inputs.ErrorBars = ErrorBarButton->isChecked();
    inputs.DataFileName = CurrentFile;
    inputs.Comment = comment;
    inputs.Translate = Translator();
    StampPrintTime(inputs);
    printer.setDocName(QString::fromStdString(CurrentFile));
    (void)PrintProtocolDocument(printer, inputs);
}

} // namespace lumetra

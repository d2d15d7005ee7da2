// The protocol as a PDF (lumetra --print-pdf), read back with poppler's pdftotext: the
// sections in order, flowing onto a second page, the footer of every page, the RESULTS
// rows in SI and US units, the comment, and the failures that leave no file behind.

#include "ui/PrintPdf.h"

#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"
#include "SampleSets.h"
#include "ui/MainWindow.h"

#include <QImage>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

namespace lumetra::test {
namespace {

std::string WriteBasement(const TTempDir& dir, int records, int breakAt) {
    return WriteHalvoFile(dir.File("basement.lmx"), records, breakAt);
}

std::string PdfText(const std::string& pdf) {
    const std::string command = "pdftotext -layout '" + pdf + "' -";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            text.append(buffer, n);
        }
        pclose(pipe);
    }
    return text;
}

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

TRun PrintPdf(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = RunPrintPdf(arguments, out, err);
    return {status, out.str(), err.str()};
}

// The position of each part in order, or a failure naming the first out of place.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << "\"" << part << "\" missing or out of order in:\n" << text;
        at = found + part.size();
    }
}

// How many pixels of `colour` page `page` of the PDF has, rasterised by pdftoppm.
int PixelsOf(const std::string& pdf, int page, const QColor& colour, const std::string& folder) {
    const std::string stem = folder + "/page";
    const std::string command = "pdftoppm -r 50 -png -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                " '" + pdf + "' '" + stem + "'";
    if (std::system(command.c_str()) != 0) {
        return -1;
    }
    QImage image;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("page", 0) == 0) {
            image.load(QString::fromStdString(entry.path().string()));
            std::filesystem::remove(entry.path());
        }
    }
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(ProtocolPdf, SectionsFlowOntoASecondPageWithTheirFooters) {
    TTempDir dir;
    const std::string file = WriteBasement(dir, 48, 0);
    const std::string pdf = dir.File("protocol.pdf");
    const std::string comment(300, 'x');
    const TRun run = PrintPdf({file, pdf, "--comment", comment, "--error-bars"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, pdf + "\n");
    const std::string text = PdfText(pdf);
    // Comment, radon, three climate diagrams on page 1; spectrum and RESULTS on page 2.
    ExpectInOrder(text, {"COMMENT", "xxxxx", "Radon", "Temp.", "rel.Hum.", "Pres.", "from \"basement.lmx\"", "Page 1",
                         "\f", "Counts", "Po-218 (6002keV)", "Channels 1:9", "Spectrum O", "set 0 Channels", // "ff" may come out as a ligature
                        
                         "RESULTS", "Instrument:", "KVX5210-2 SN: 2345", "Average:", "Data Records:", "48",
                         "Maximum:", "Exposure Time:", "Minimum:", "Page 2 (Last Page)"});
    EXPECT_EQ(text.find("Page 1 (Last Page)"), std::string::npos);
    // The 300 characters of the comment, broken into lines, are all there.
    std::size_t xs = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.find_first_not_of('x', first) == std::string::npos) {
            xs += line.size() - first;
        }
    }
    EXPECT_EQ(xs, 300u);

    // The green curve on page 1, the grey bars on page 2 (and not the other way round).
    TTempDir pages;
    const QColor green(0, 128, 0), grey(128, 128, 128);
    EXPECT_GT(PixelsOf(pdf, 1, green, pages.Path()), 20);
    EXPECT_LT(PixelsOf(pdf, 1, grey, pages.Path()), 50); // smoothed edges only
    EXPECT_GT(PixelsOf(pdf, 2, grey, pages.Path()), 200);
}

TEST(ProtocolPdf, ResultsInUSUnits) {
    TTempDir dir;
    const std::string pdf = dir.File("us.pdf");
    ASSERT_EQ(PrintPdf({WriteBasement(dir, 24, 0), pdf, "--units", "us", "--range", "2:20"}).Status, 0);
    const std::string text = PdfText(pdf);
    ExpectInOrder(text, {"RESULTS", "Average:", "pCi/L", "Tilts:", "Start Test:", "End Test:"});
    EXPECT_EQ(text.find("Maximum:"), std::string::npos);
    EXPECT_NE(text.find("Basement"), std::string::npos); // the file's comment by default
}

TEST(ProtocolPdf, FailuresLeaveNoFile) {
    TTempDir dir;
    const std::string file = WriteBasement(dir, 24, 12);
    const std::string pdf = dir.File("out.pdf");
    struct TCase {
        std::vector<std::string> Arguments;
        int Status;
        const char* Says;
    };
    const TCase cases[] = {
        {{file, pdf}, 64, "cross the start of a new measurement series"},
        {{file, pdf, "--range", "13:30"}, 64, "bad range"},
        {{file, pdf, "--mode", "4", "--range", "1:11"}, 64, "holds no values"},
        {{file, pdf, "--mode", "7"}, 64, "--mode"},
        {{file}, 64, "OUT"},
        {{dir.File("missing.lmx"), pdf}, 6, "Unable to open file! Wrong file format!"},
        {{file, dir.File("no/such/folder.pdf"), "--range", "1:11"}, 11, "Unable to write file"},
    };
    for (const TCase& c : cases) {
        const TRun run = PrintPdf(c.Arguments);
        EXPECT_EQ(run.Status, c.Status) << run.Err;
        EXPECT_NE(run.Err.find(c.Says), std::string::npos) << c.Says << " / " << run.Err;
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u); // the data file only: no temporary PDF left over
    ASSERT_EQ(PrintPdf({file, pdf, "--range", "12:24"}).Status, 0);
}

// The window's print button: the print dialog answered by printing to a PDF.
class TPrintingWindow final : public TMainWindow {
public:
    using TMainWindow::TMainWindow;
    std::string OpenAnswer;
    std::string PdfFile; // empty: the print dialog is cancelled

protected:
    std::string ChooseOpenFileName() override { return OpenAnswer; }
    bool ChoosePrinter(QPrinter& printer) override {
        if (PdfFile.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(PdfFile));
        return true;
    }
};

TEST(ProtocolPdf, PrintButtonAsksForTheCommentOfThisPrintout) {
    TTempDir dir;
    TPrintingWindow window(dir.Path());
    TScriptedUserInterface ui;
    window.UseUserInterface(&ui);
    window.OpenAnswer = WriteBasement(dir, 24, 0);
    window.OpenFile();
    ui.TextAnswers = {"Printed from the window"};

    window.PrintProtocol(); // cancelled: nothing asked, nothing printed
    EXPECT_TRUE(ui.Prompts.empty());
    window.PdfFile = dir.File("window.pdf");
    window.PrintProtocol();
    ASSERT_EQ(ui.Prompts.size(), 1u);
    const std::string text = PdfText(window.PdfFile);
    ExpectInOrder(text, {"Printed from the window", "Radon", "Page 1", "RESULTS", "from \"basement.lmx\"", "Page 2 (Last Page)"});
    EXPECT_EQ(window.InstrumentData().Comment, "Basement"); // for this printout only
}

} // namespace
} // namespace lumetra::test

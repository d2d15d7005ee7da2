#pragma once
// lumetra --print-pdf FILE OUT.pdf [--range L:R] [--mode 1-6] [--units si|us]
//                     [--comment TEXT] [--error-bars] [--smooth P]
// The protocol a printer would get for a data file, written as an A4 portrait PDF with
// no window. Needs a QApplication (an offscreen one will do).

#include <ostream>
#include <string>
#include <vector>

namespace lumetra {

// Whether the command line asks for the PDF (then no window is shown).
bool AsksForPrintPdf(int argc, char** argv);

// The exit status: 0; 6 for a file that cannot be read; 11 when OUT.pdf cannot be
// written; 64 for a usage error (a range that crosses a series start included). No
// OUT.pdf is left behind after a failure.
int RunPrintPdf(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace lumetra

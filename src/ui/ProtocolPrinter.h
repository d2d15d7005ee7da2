#pragma once
// The measurement protocol drawn onto a paged device (a printer, or a PDF writer that
// gets what the printer would): the comment box, the concentration diagram with its
// time axis, the climate diagrams, the summed spectrum and the RESULTS box, flowing down
// the pages, each page with its footer. The geometry comes from ProtocolLayout.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"
#include "evaluation/IntegralData.h"
#include "evaluation/Smoothing.h"

#include <string>

class QPagedPaintDevice;

namespace lumetra {

struct TProtocolInputs {
    const TInstrumentData* Raw = nullptr;
    const TMeasurementData* Data = nullptr;
    const TIntegralData* Integral = nullptr;
    const TSmoothedSeries* Smoothed = nullptr; // its Period 0: no smoothing
    Byte DisplayMode = DisplayMode::Radon;
    bool ErrorBars = false;
    std::string DataFileName;
    std::string Comment;   // for this printout only
    std::string PrintDate; // the footer's date and time, in the platform's short forms
    std::string PrintTime;
    TTranslate Translate;
};

// The footer's date and time: now, in the platform's short forms.
void StampPrintTime(TProtocolInputs& inputs);

// Draws the protocol of the bordered range; nothing when the evaluated data set is not
// valid. The device's pages must be set (size, orientation) before; a landscape page
// gets the RESULTS box's landscape columns. False when nothing could be drawn.
bool PrintProtocolDocument(QPagedPaintDevice& device, const TProtocolInputs& inputs);

} // namespace lumetra

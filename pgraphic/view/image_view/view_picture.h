#pragma once

#include "core/multicast_event.h"
#include "pgraphic/image/image_options.h"
#include "pgraphic/view/image_view/image_view_events.h"
#include "pgraphic/view/view_types.h"

#include <memory>
#include <string>

class TPGDisplayCopy;
class TPixelGraphic;

// An image view's own picture: a copy of one it was given, or one it loaded, whose progress
// reports are the view's and whose changes fire OnChange; and the file it was last loaded from or
// saved to. Every replacement first stops the display copy's worker, which may be reading the
// picture, and ends with OnChange.
class TPGViewPicture {
public:
    // Display: the view's display copy, let go of with the picture; Events: the view's events,
    // which the picture's progress reports go to.
    TPGViewPicture(TPGDisplayCopy& Display, const TPGImageEvents& Events);
    TPGViewPicture(const TPGViewPicture&) = delete;
    TPGViewPicture& operator=(const TPGViewPicture&) = delete;
    ~TPGViewPicture();

    TPixelGraphic* Get() const { return FPicture.get(); }
    // The file last loaded or saved successfully; empty after a failure.
    const std::string& FileName() const { return FFileName; }

    // What a loaded picture takes: its background colour and what warnings do.
    TRGB& BackGroundColor() { return FBackGroundColor; }
    TRGB BackGroundColor() const { return FBackGroundColor; }
    TPGWarningOptions& Warnings() { return FWarnings; }
    const TPGWarningOptions& Warnings() const { return FWarnings; }

    // A copy of Value (none empties the view).
    void Assign(const TPixelGraphic* Value);
    // Picture Index of FileName, with the hour-glass when ShowHourGlass; a failure leaves the
    // view empty.
    void Load(const std::string& FileName, int Index, bool ShowHourGlass);
    // Raises EPGEmpty when there is no picture.
    void Save(const std::string& FileName);
    // Takes Image as the picture in place of the current one (a picture reduced on loading).
    void Adopt(std::unique_ptr<TPixelGraphic> Image);

    // The picture was replaced or changed: the view brings itself up to date.
    TMulticastEvent<> OnChange;

private:
    // Image's progress reports go to the view's events; with WithChange its changes fire
    // OnChange.
    void Forward(TPixelGraphic& Image, bool WithChange);
    // Stops the worker and lets go of the picture and the display copy.
    void Release();

    TPGDisplayCopy& FDisplay;
    const TPGImageEvents& FEvents;
    std::unique_ptr<TPixelGraphic> FPicture;
    std::string FFileName;
    TRGB FBackGroundColor = 0;
    TPGWarningOptions FWarnings;
};

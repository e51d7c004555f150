#pragma once
// A printer, in the steps a printout takes: get the printer, start the
// document, start a page, send the picture into its place on the page, end
// the page, end the document. Each step answers true when it worked; the
// application reports the first step that failed. Close is always called
// last, whatever happened, and lets go of what Open took.
//
// Which printer the program uses (CreateSystemPrinter): the system's
// printing service through `lp` when it is installed and has a default
// printer, else a page saved as a picture in a folder (CxFilePrinter).

#include "PIM/app/PimPageLayout.h"
#include "PIM/core/CxRect.h"

#include <memory>
#include <string>

class CxDrawSurface;

class CxPrinter
{
public:
    virtual ~CxPrinter() = default;

    // Gets the printer: the default one, or the one the player picks when
    // `withDialog` is set (a printer without a dialog uses its default).
    // Fills in the page it prints, in portrait.
    virtual bool Open(bool withDialog, bool landscape, ST_PAGE_SETUP& page) = 0;
    virtual bool StartDoc(const char* name) = 0;
    virtual bool StartPage() = 0;
    // `picture` (24 or 32 bits) stretched into `place` on the page.
    virtual bool DrawPicture(CxDrawSurface& picture, const CxRect& place) = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    virtual void Close() {}
    // What the player should be told once the printout is done ("" for
    // nothing: paper coming out of a printer speaks for itself).
    virtual std::string GetNotice() const { return std::string(); }
    // A line for the trace saying what went wrong at the failed step.
    virtual std::string GetLastProblem() const { return std::string(); }

    // The printer the system offers: `lp` to its default printer when there
    // is one, else pages saved as pictures in `fallbackFolder`.
    static std::unique_ptr<CxPrinter> CreateSystemPrinter(const std::string& fallbackFolder);
};

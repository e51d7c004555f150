#pragma once
// A printer that builds each page as a picture of its own (white paper, the
// printout stretched into its place) and hands the finished page on: to a
// file, or to the system's printing service. The page is A4 at the
// printer's resolution.

#include "PIM/app/CxPrinter.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <string>

class CxPagePrinter : public CxPrinter
{
public:
    // A4 is 210 mm x 297 mm.
    static constexpr int32_t kPageWidthMm10 = 2100;
    static constexpr int32_t kPageHeightMm10 = 2970;

    explicit CxPagePrinter(int32_t dpi);

    bool Open(bool withDialog, bool landscape, ST_PAGE_SETUP& page) override;
    bool StartDoc(const char* name) override;
    bool StartPage() override;
    bool DrawPicture(CxDrawSurface& picture, const CxRect& place) override;
    bool EndPage() override;
    bool EndDoc() override;
    void Close() override;
    std::string GetLastProblem() const override { return m_problem; }

    // The portrait page at `dpi`, in pixels.
    static ST_PAGE_SETUP A4Page(int32_t dpi);

protected:
    // Whether the device is there to print on (Open fails when not).
    virtual bool FindDevice() { return true; }
    // The finished page, to be kept or sent on.
    virtual bool DeliverPage(CxDrawSurface& page) = 0;
    bool Problem(const std::string& what);

    int32_t m_dpi;
    bool m_landscape = false;
    bool m_open = false;
    bool m_inDoc = false;
    std::string m_docName;
    CxDrawSurface m_page;
    std::string m_problem;
};

#include "PIM/app/CxPagePrinter.h"

#include "PIM/core/CxError.h"
#include "PIM/graphics/PimPixelFormat.h"

CxPagePrinter::CxPagePrinter(int32_t dpi) : m_dpi(dpi < 1 ? 1 : dpi) {}

ST_PAGE_SETUP CxPagePrinter::A4Page(int32_t dpi)
{
    ST_PAGE_SETUP page;
    // Tenths of a millimetre to pixels, rounded: 254 tenths make an inch.
    page.pageWidth = static_cast<int32_t>((int64_t{kPageWidthMm10} * dpi + 127) / 254);
    page.pageHeight = static_cast<int32_t>((int64_t{kPageHeightMm10} * dpi + 127) / 254);
    page.dpiX = dpi;
    page.dpiY = dpi;
    return page;
}

bool CxPagePrinter::Problem(const std::string& what)
{
    m_problem = what;
    return false;
}

bool CxPagePrinter::Open(bool, bool landscape, ST_PAGE_SETUP& page)
{
    m_problem.clear();
    if (!FindDevice())
        return false;
    m_landscape = landscape;
    page = A4Page(m_dpi);
    m_open = true;
    return true;
}

bool CxPagePrinter::StartDoc(const char* name)
{
    if (!m_open)
        return Problem("the printer is not open");
    m_docName = name ? name : "";
    m_inDoc = true;
    return true;
}

bool CxPagePrinter::StartPage()
{
    if (!m_inDoc)
        return Problem("no document was started");
    const ST_PAGE_SETUP setup = A4Page(m_dpi);
    const int32_t width = m_landscape ? setup.pageHeight : setup.pageWidth;
    const int32_t height = m_landscape ? setup.pageWidth : setup.pageHeight;
    if (m_page.Create(width, height, 24) != PIM_OK)
        return Problem("there is no memory for the page");
    m_page.ClearError();
    m_page.FillRect(m_page.GetRect(), m_page.MakeColour(0xFF, 0xFF, 0xFF));
    return true;
}

bool CxPagePrinter::DrawPicture(CxDrawSurface& picture, const CxRect& place)
{
    if (!m_page.IsCreated())
        return Problem("no page was started");
    if (place.IsEmpty())
        return Problem("the picture has no place on the page");
    CxRect source = picture.GetRect();
    CxRect destination = place;
    // The printout is drawn as it is: no colour of it is see-through.
    const uint32_t keep = picture.GetTransparentColour();
    picture.SetTransparentColour(PIM_NO_KEY);
    const int code = picture.Blit(m_page, &destination, &source, PIM_NO_KEY, nullptr);
    picture.SetTransparentColour(keep);
    if (code != PIM_OK)
        return Problem("the picture could not be drawn on the page");
    return true;
}

bool CxPagePrinter::EndPage()
{
    if (!m_page.IsCreated())
        return Problem("no page was started");
    const bool delivered = DeliverPage(m_page);
    m_page.Destroy();
    return delivered;
}

bool CxPagePrinter::EndDoc()
{
    if (!m_inDoc)
        return Problem("no document was started");
    m_inDoc = false;
    return true;
}

void CxPagePrinter::Close()
{
    m_page.Destroy();
    m_inDoc = false;
    m_open = false;
}

#pragma once
// Printing through the system's printing service: each page is saved as a
// picture in the run's private temporary folder and handed to `lp` with
// the document's name as the job title; the service fits it to the paper.

#include "PIM/app/CxPagePrinter.h"

#include <vector>

class CxCupsPrinter : public CxPagePrinter
{
public:
    static constexpr int32_t kDpi = 150;

    // `lp` is the program's path; `printer` the destination ("" for the
    // service's default).
    CxCupsPrinter(const std::string& lp, const std::string& printer);

    // The default destination as `lpstat -d` names it ("" when there is none
    // or the service does not answer).
    static std::string DefaultDestination(const std::string& lpstat);
    // What `lp` is run with for `file` (the program first).
    std::vector<std::string> CommandFor(const std::string& file) const;

protected:
    bool FindDevice() override;
    bool DeliverPage(CxDrawSurface& page) override;

private:
    std::string m_lp;
    std::string m_printer;
    int m_pages = 0;
};

#include "PIM/app/CxPrinter.h"

#include "PIM/app/CxCupsPrinter.h"
#include "PIM/app/CxFilePrinter.h"
#include "PIM/core/PimTrace.h"
#include "PIM/os/PimRunProgram.h"

std::unique_ptr<CxPrinter> CxPrinter::CreateSystemPrinter(const std::string& fallbackFolder)
{
    std::string lp, lpstat;
    if (PimFindProgram("lp", lp) && PimFindProgram("lpstat", lpstat)) {
        const std::string destination = CxCupsPrinter::DefaultDestination(lpstat);
        if (!destination.empty())
            return std::make_unique<CxCupsPrinter>(lp, destination);
        Trace("Printing: the printing service has no default printer; the page goes to a file\n");
    }
    return std::make_unique<CxFilePrinter>(fallbackFolder);
}

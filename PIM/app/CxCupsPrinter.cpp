#include "PIM/app/CxCupsPrinter.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/files/PimTempFolder.h"
#include "PIM/os/PimRunProgram.h"

#include <cstdio>

namespace {

// `lp` hands the file over before it returns, but a busy service may be slow.
constexpr int kLpTimeoutMs = 30000;
constexpr int kLpstatTimeoutMs = 5000;

std::string TrimLine(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    size_t start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    return text.substr(start);
}

} // namespace

CxCupsPrinter::CxCupsPrinter(const std::string& lp, const std::string& printer)
    : CxPagePrinter(kDpi), m_lp(lp), m_printer(printer)
{
}

std::string CxCupsPrinter::DefaultDestination(const std::string& lpstat)
{
    const ST_PROGRAM_RESULT result = PimRunProgram({lpstat, "-d"}, kLpstatTimeoutMs, 4096);
    if (!result.started || result.timedOut || result.exitCode != 0)
        return std::string();
    // "system default destination: NAME"; without one the line says
    // "no system default destination" and has no colon.
    const std::string line = result.output.substr(0, result.output.find('\n'));
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return std::string();
    const std::string name = TrimLine(line.substr(colon + 1));
    // A destination name has no blanks or controls; anything else is not one.
    for (char c : name)
        if (static_cast<unsigned char>(c) <= ' ')
            return std::string();
    return name;
}

std::vector<std::string> CxCupsPrinter::CommandFor(const std::string& file) const
{
    std::vector<std::string> command = {m_lp};
    if (!m_printer.empty()) {
        command.push_back("-d");
        command.push_back(m_printer);
    }
    command.push_back("-t");
    command.push_back(m_docName.empty() ? std::string("Printout") : m_docName);
    command.push_back("-o");
    command.push_back("fit-to-page");
    // Whatever the file is called, it is a file, never an option.
    command.push_back("--");
    command.push_back(file);
    return command;
}

bool CxCupsPrinter::FindDevice()
{
    if (m_lp.empty())
        return Problem("the printing service's lp is not installed");
    return true;
}

bool CxCupsPrinter::DeliverPage(CxDrawSurface& page)
{
    const char* temp = PimTempFolder();
    if (!temp)
        return Problem("there is no temporary folder for the page");
    char name[48];
    std::snprintf(name, sizeof name, "/printout-page-%d.png", ++m_pages);
    const std::string file = std::string(temp) + name;
    const std::string tagged = "<DEFAULT>" + file;
    const int code = page.Save(tagged.c_str());
    page.ClearError();
    if (code != PIM_OK)
        return Problem("the page could not be saved for printing: " + std::string(ErrorText(code)));
    const ST_PROGRAM_RESULT result = PimRunProgram(CommandFor(file), kLpTimeoutMs, 4096);
    // lp has sent the file's contents to the service once it returns.
    FsDelete(tagged.c_str());
    if (!result.started)
        return Problem("lp could not be run");
    if (result.timedOut)
        return Problem("lp did not finish in time");
    if (result.exitCode != 0) {
        char what[64];
        std::snprintf(what, sizeof what, "lp failed with exit code %d", result.exitCode);
        return Problem(what);
    }
    Trace("Printout sent to %s: %s\n", m_printer.empty() ? "the default printer" : m_printer.c_str(),
          TrimLine(result.output).c_str());
    return true;
}

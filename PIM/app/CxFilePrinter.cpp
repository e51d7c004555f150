#include "PIM/app/CxFilePrinter.h"

#include "PIM/core/CxError.h"
#include "PIM/files/PimFileLayer.h"

#include <cstdio>

namespace {

// A path of the system goes to the file layer's folder file system; a
// tagged one to the file system of its tag.
std::string FileLayerName(const std::string& folder)
{
    if (folder.empty() || folder.front() == '<')
        return folder;
    return "<DEFAULT>" + folder;
}

// The folder and the ones above it that are missing, one at a time.
void MakeFolders(const std::string& folder)
{
    const size_t tagEnd = folder.front() == '<' ? folder.find('>') : std::string::npos;
    size_t from = tagEnd == std::string::npos ? 1 : tagEnd + 1;
    while (from <= folder.size()) {
        size_t slash = folder.find('/', from);
        if (slash == std::string::npos)
            slash = folder.size();
        const std::string prefix = folder.substr(0, slash);
        if (slash > from && !FsIsDirectory(prefix.c_str()))
            FsMakeDirectory(prefix.c_str());
        from = slash + 1;
    }
}

} // namespace

CxFilePrinter::CxFilePrinter(const std::string& folder) : CxPagePrinter(kDpi), m_folder(FileLayerName(folder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::string CxFilePrinter::NextFreeName(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '/' && base.back() != '>')
        base.push_back('/');
    char name[32];
    for (int number = 1; number <= kMaxNumber; ++number) {
        std::snprintf(name, sizeof name, "Printout-%03d.png", number);
        const std::string candidate = base + name;
        if (!FsExists(candidate.c_str()))
            return candidate;
    }
    return std::string();
}

bool CxFilePrinter::FindDevice()
{
    if (m_folder.empty())
        return Problem("no folder was given for printouts");
    MakeFolders(m_folder);
    if (!FsIsDirectory(m_folder.c_str()))
        return Problem("the folder " + m_folder + " for printouts could not be made");
    return true;
}

bool CxFilePrinter::DeliverPage(CxDrawSurface& page)
{
    const std::string file = NextFreeName(m_folder);
    if (file.empty())
        return Problem("the folder " + m_folder + " holds too many printouts");
    const int code = page.Save(file.c_str());
    page.ClearError();
    if (code != PIM_OK)
        return Problem("the page could not be saved as " + file + ": " + ErrorText(code));
    m_lastFile = file;
    CxString full;
    FsGetFullPath(full, file.c_str());
    m_shownPath = full.IsEmpty() ? file : std::string(full.GetText());
    return true;
}

std::string CxFilePrinter::GetNotice() const
{
    if (m_lastFile.empty())
        return std::string();
    return "There is no printer, so the picture was saved as a file:\n" + m_shownPath;
}

#pragma once
// The printer of a computer without one: each page is saved as a picture
// in a folder ("Printout-001.png", "Printout-002.png", ...; a printout
// never replaces an earlier one), and the player is told where it went.

#include "PIM/app/CxPagePrinter.h"

class CxFilePrinter : public CxPagePrinter
{
public:
    static constexpr int32_t kDpi = 100;
    // Numbers run out here: a folder with this many printouts is full.
    static constexpr int kMaxNumber = 99999;

    // `folder` may carry a root tag ("<AppData>") or be a path of the
    // system (given to the file layer through "<DEFAULT>"); made when missing.
    explicit CxFilePrinter(const std::string& folder);

    std::string GetNotice() const override;
    // The file the last page went to (as the file layer names it).
    const std::string& GetLastFile() const { return m_lastFile; }

    // "<folder>/Printout-NNN.png" for the first NNN (from 001) not yet
    // taken; "" when every number is.
    static std::string NextFreeName(const std::string& folder);

protected:
    bool FindDevice() override;
    bool DeliverPage(CxDrawSurface& page) override;

private:
    std::string m_folder;
    std::string m_lastFile;
    std::string m_shownPath; // the file as the player finds it
};

#include "DAX/dialogs/CDaxDialog.h"

#include "DAX/base/CDaxHandleCommandEvent.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/base/DaxOptionText.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"

#include <algorithm>
#include <iterator>

namespace {

// The commands that name one of the dialog's buttons, but for the flash
// (which takes a period).
struct ST_BUTTON_COMMAND
{
    const char* name;
    void (CDaxButton::*apply)();
};

const ST_BUTTON_COMMAND kButtonCommands[] = {
    {"ShowButton", &CDaxButton::Show},
    {"HideButton", &CDaxButton::Hide},
    {"DisableButton", &CDaxButton::Disable},
    {"EnableButton", &CDaxButton::Enable},
    {"HighlightButton", &CDaxButton::Highlight},
    {"UnHighlightButton", &CDaxButton::UnHighlight},
    {"StopFlashButton", &CDaxButton::StopFlash},
};

bool Is(const char* name, const char* command)
{
    return PimStrEqual(name, command, true);
}

const char* Argument(const CxEventArgs& args, size_t index)
{
    const CxString* argument = args.Get(index);
    return argument ? argument->GetText() : "";
}

bool IsSizeComponent(int value)
{
    return value == -1 || (value >= 1 && value <= DAX_DIALOG_SIZE_MAX);
}

void Keep(int& first, int code)
{
    if (first == PIM_OK)
        first = code;
}

} // namespace

CDaxDialog::CDaxDialog()
{
    SetName(DAX_DIALOG_DEFAULT_NAME);
    SetSize(DAX_DIALOG_DEFAULT_SIZE, DAX_DIALOG_DEFAULT_SIZE);
    SetZ(DAX_DIALOG_Z);
}

CDaxDialog::~CDaxDialog()
{
    ForgetSelf();
    EndModal();
    TakeDown();
    DaxGlobalDialogsInternal::Forget(this);
}

void CDaxDialog::TakeDown()
{
    m_idleTimer.Reset();
    m_idleCount = 0;
    DaxDeleteButtons(m_buttons);
    UnregisterCategory();
    m_doModalText = "";
    m_timeOuts.Clear();
}

// --- loading ---------------------------------------------------------------------------------

int CDaxDialog::LoadDialog(const char* fileName)
{
    TakeDown();
    UnloadPicture();
    // Not kept: everything the dialog needs is read from it here.
    CxOptions store;
    store.SetSkipExistenceCheck(true);
    int first = PIM_OK;
    if (fileName && *fileName)
        Keep(first, store.Load(fileName));
    else
        Keep(first, ReportError(PIM_ERR_NOT_FOUND, "The dialog %s has no option file", GetName()));
    ReadOptions(store, first);
    // Whatever failed has been reported; the dialog still opens.
    ClearError();
    return first;
}

void CDaxDialog::ReadOptions(CxOptions& store, int& first)
{
    const char* section = DAX_DIALOG_SECTION;
    const CxString name = store.GetString(section, "Name", GetName()).Left(DAX_DIALOG_NAME_MAX);
    if (!name.IsEmpty())
        SetName(name.GetText());
    RegisterCategory();

    m_movieDriverFlags = static_cast<uint32_t>(store.GetInt(section, "MovieDriverFlags", 0));
    int x = -1;
    int y = -1;
    store.GetPoint(section, "TransparentPixel", &x, &y, -1, -1);
    m_transparentPixel = CxPoint(x, y);
    const CxString background = store.GetString(section, "Background", "");
    if (!background.IsEmpty())
        Keep(first, TakeBackground(background.GetText()));
    // A background that did not load leaves a plain area, sized as one.
    if (!GetSurface())
        ReadSize(store);

    store.GetPoint(section, "Position", &x, &y, -1, -1);
    if (x != -1 && y != -1)
        SetPosition(DaxClampCoordinate(x), DaxClampCoordinate(y), PIM_ANCHOR_TOP_LEFT);
    m_centered = store.GetInt(section, "Centered", 0) != 0;

    ST_DAX_BUTTON_PLACEMENT placement;
    placement.parent = this;
    placement.z = m_buttonDepth;
    placement.shown = true;
    Keep(first, DaxLoadButtonSections(store, placement, m_buttons));

    m_doModalText = DaxOptionText(store, section, "OnDoModal");
    ReadTimeOuts(store);
    const int idleTime = store.GetInt(section, "IdleTime", DAX_DIALOG_DEFAULT_IDLE_TIME);
    m_idleTime = idleTime > 0 ? static_cast<uint32_t>(idleTime) : 0;
    m_maxIdleCount = std::max(store.GetInt(section, "MaxIdleCount", DAX_DIALOG_DEFAULT_MAX_IDLE_COUNT), 0);

    const CxString onLoad = DaxOptionText(store, section, "OnLoad");
    if (!onLoad.IsEmpty())
        DaxServices().RunScript(onLoad.GetText());
    ReadExtraOptions(store);
}

void CDaxDialog::ReadSize(CxOptions& store)
{
    int width = DAX_DIALOG_DEFAULT_SIZE;
    int height = DAX_DIALOG_DEFAULT_SIZE;
    store.GetPoint(DAX_DIALOG_SECTION, "Size", &width, &height, DAX_DIALOG_DEFAULT_SIZE, DAX_DIALOG_DEFAULT_SIZE);
    if (!IsSizeComponent(width) || !IsSizeComponent(height)) {
        Trace("Dialog %s: Size %d, %d is no size; it stays %d x %d\n", GetName(), width, height,
              DAX_DIALOG_DEFAULT_SIZE, DAX_DIALOG_DEFAULT_SIZE);
        width = height = DAX_DIALOG_DEFAULT_SIZE;
    }
    // -1 is the screen's; without a screen yet, the default.
    const CxDisplayObject* root = GetRootObject();
    if (width == -1)
        width = root ? root->GetWidth() : DAX_DIALOG_DEFAULT_SIZE;
    if (height == -1)
        height = root ? root->GetHeight() : DAX_DIALOG_DEFAULT_SIZE;
    SetSize(width, height);
}

void CDaxDialog::ReadTimeOuts(CxOptions& store)
{
    // Counted first: the scripts are held in one array.
    CxString key;
    int count = 0;
    while (count < DAX_DIALOG_TIMEOUTS_MAX) {
        key.Format("OnTimeOut%d", count + 1);
        const CxOptionVariable* variable = store.FindVariable(DAX_DIALOG_SECTION, key.GetText());
        if (!variable || !*variable->GetValue())
            break;
        ++count;
    }
    if (count == 0 || !m_timeOuts.Resize(static_cast<size_t>(count)))
        return; // out of memory: reported, and no time-outs
    for (int n = 0; n < count; ++n) {
        key.Format("OnTimeOut%d", n + 1);
        *m_timeOuts.Get(static_cast<size_t>(n)) = DaxOptionText(store, DAX_DIALOG_SECTION, key.GetText());
    }
}

void CDaxDialog::ReadExtraOptions(CxOptions&)
{
}

void CDaxDialog::RegisterCategory()
{
    UnregisterCategory();
    const CxString name = CxString(GetName()).Left(static_cast<int>(PIM_EVENT_CATEGORY_NAME_MAX));
    if (!name.IsEmpty() && DaxRegisterCategory(name.GetText(), this) == PIM_OK)
        m_category = name;
}

void CDaxDialog::UnregisterCategory()
{
    // Another object may have taken the name over since: its registration stays.
    if (!m_category.IsEmpty())
        DaxUnregisterCategory(m_category.GetText(), this);
    m_category = "";
}

// --- the picture -----------------------------------------------------------------------------

int CDaxDialog::TakeBackground(const char* fileName)
{
    CxString path;
    if (const int code = BuildGamePathFromData(path, fileName); code != PIM_OK) {
        UnloadPicture();
        return ReportError(code, "The background name of dialog %s is too long: %.40s...", GetName(), fileName);
    }
    SetMovieFlags(m_movieDriverFlags);
    const int code = Load(path.GetText(), 1);
    // The loader has reported a failure; the dialog stays usable.
    ClearError();
    if (GetSurface())
        SetSize(GetFrameSize());
    ApplyTransparency();
    return code;
}

void CDaxDialog::ApplyTransparency()
{
    SetTransparentColour(PIM_NO_KEY);
    CxDrawSurface* surface = GetSurface();
    if (!surface) {
        SetDrawMode(PIM_DRAW_COPY);
        return;
    }
    if (surface->GetDepth() == 32) {
        SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
        return;
    }
    SetDrawMode(PIM_DRAW_COPY);
    const CxPoint pixel = m_transparentPixel;
    if (pixel.x < 0 || pixel.y < 0)
        return;
    if (pixel.x >= surface->GetWidth() || pixel.y >= surface->GetHeight()) {
        Trace("Dialog %s: the transparent pixel %d, %d lies outside its %d x %d picture\n", GetName(), pixel.x,
              pixel.y, surface->GetWidth(), surface->GetHeight());
        return;
    }
    SetTransparentColour(surface->GetPixel(pixel.x, pixel.y));
}

int CDaxDialog::LoadSurface(const char* fileName)
{
    const int code = TakeBackground(fileName);
    Show();
    return code;
}

// --- opening ---------------------------------------------------------------------------------

void CDaxDialog::CenterOnScreen()
{
    if (const CxDisplayObject* root = GetRootObject())
        MoveTo(root->GetWidth() / 2, root->GetHeight() / 2, PIM_ANCHOR_CENTRE);
}

bool CDaxDialog::IsOnScreen() const
{
    const CxDisplayObject* root = GetRootObject();
    if (!root)
        return true;
    return GetRect().Intersects(CxRect::FromSize(CxPoint(0, 0), root->GetSize()));
}

void CDaxDialog::ResetButtons()
{
    for (auto* node = m_buttons.GetFirst(); node; node = node->GetNext())
        node->GetElement()->ResetState();
}

int CDaxDialog::DoModal()
{
    if (IsRunningModal()) {
        Trace("Dialog %s is open already\n", GetName());
        return PIM_ERR_BAD_ARG;
    }
    ResetButtons();
    AttachToRoot();
    if (!m_centered && !IsOnScreen())
        Trace("Dialog %s would open off the screen; it is centred\n", GetName());
    if (m_centered || !IsOnScreen())
        CenterOnScreen();
    Show();

    m_idleTimer.Reset();
    m_idleCount = 0;
    if (m_idleTime > 0)
        m_idleTimer.Start(m_idleTime);
    if (!m_doModalText.IsEmpty())
        DaxServices().RunScript(m_doModalText.GetText());

    const int code = CxDialogBox::DoModal();

    m_idleTimer.Reset();
    Hide();
    Detach();
    // Nothing of the dialog is touched after this.
    if (m_deleteWhenClosed)
        DaxDeleteLater(this);
    return code;
}

void CDaxDialog::DeleteWhenClosed()
{
    m_deleteWhenClosed = true;
    EndModal();
}

void CDaxDialog::OnMainLoop()
{
    if (!m_idleTimer.IsRunning() || m_idleTimer.IsPaused() || m_idleTimer.IsEndless())
        return;
    if (m_idleCount >= m_maxIdleCount || !m_idleTimer.IsDueAt(PimGetTicks()))
        return;
    ++m_idleCount;
    RunTimeOut(m_idleCount);
    // From now, not from when the last one was due: a frame late is a frame late.
    m_idleTimer.Start(m_idleTime);
}

void CDaxDialog::RunTimeOut(int number)
{
    if (number < 1 || number > GetTimeOutCount())
        return;
    DaxServices().RunScript(m_timeOuts.Get(static_cast<size_t>(number - 1))->GetText());
}

// --- commands --------------------------------------------------------------------------------

CxEvent* CDaxDialog::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!Is(category, GetName()) || PimStrEqual(name, "TODO"))
        return nullptr;
    return CDaxHandleCommandEvent::Create(*this, name, args);
}

void CDaxDialog::OnCommand(const char* name, const CxEventArgs& args)
{
    if (Is(name, "EndModal")) {
        EndModal();
    } else if (Is(name, "Center")) {
        CenterOnScreen();
    } else if (Is(name, "LoadSurface")) {
        if (*Argument(args, 0))
            LoadSurface(Argument(args, 0));
    } else if (Is(name, "StartFlashButton")) {
        // No period, or none that makes sense, is the usual half second.
        const int period = args.GetCount() >= 2 ? PimParseInt(Argument(args, 1)) : 0;
        if (CDaxButton* button = FindButton(Argument(args, 0)))
            button->StartFlash(period > 0 ? static_cast<uint32_t>(period) : DAX_DIALOG_FLASH_PERIOD);
    } else {
        const auto* command = std::find_if(std::begin(kButtonCommands), std::end(kButtonCommands),
                                           [name](const ST_BUTTON_COMMAND& c) { return Is(name, c.name); });
        CDaxButton* button = command != std::end(kButtonCommands) ? FindButton(Argument(args, 0)) : nullptr;
        if (button)
            (button->*command->apply)();
    }
}

#include "DAX/buttons/DaxButtonSections.h"

#include "DAX/base/DaxOptionText.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/CxSprite.h"
#include "PIM/files/CxOptions.h"

#include <algorithm>

int32_t DaxClampCoordinate(int32_t value)
{
    return std::clamp(value, -DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT);
}

bool DaxReadButtonSection(CxOptions& store, int index, ST_DAX_BUTTON_SECTION& out)
{
    out = ST_DAX_BUTTON_SECTION{};
    out.section.Format("Button%d", index);
    const char* section = out.section.GetText();
    out.fileName = store.GetString(section, "FileName", "");
    if (out.fileName.IsEmpty())
        return false;

    out.numFrames = store.GetInt(section, "NumFrames", DAX_BUTTON_DEFAULT_FRAMES);
    if (out.numFrames < 1) {
        // No frames at all is the picture whole, as one frame.
        Trace("%s: NumFrames %d is no frame count; 1 is taken\n", section, out.numFrames);
        out.numFrames = 1;
    } else if (out.numFrames > PIM_MAX_SPRITE_FRAMES) {
        Trace("%s: NumFrames %d is more than a picture holds; %d are taken\n", section, out.numFrames,
              DAX_BUTTON_DEFAULT_FRAMES);
        out.numFrames = DAX_BUTTON_DEFAULT_FRAMES;
    }
    out.controlId = store.GetInt(section, "ControlID", 0);
    out.maskOnly = store.GetInt(section, "MaskOnly", 0) != 0;
    out.cursor = std::max(store.GetInt(section, "Cursor", -1), -1);
    out.name = store.GetString(section, "Name", section).Left(DAX_BUTTON_NAME_MAX);
    int x = DAX_BUTTON_UNPLACED;
    int y = DAX_BUTTON_UNPLACED;
    store.GetPoint(section, "Position", &x, &y, DAX_BUTTON_UNPLACED, DAX_BUTTON_UNPLACED);
    out.position = CxPoint(DaxClampCoordinate(x), DaxClampCoordinate(y));
    out.onClick = DaxOptionText(store, section, "OnClick");
    out.onMouseEnter = DaxOptionText(store, section, "OnMouseEnter");
    out.onMouseLeave = DaxOptionText(store, section, "OnMouseLeave");
    return true;
}

CDaxButton* DaxMakeButton(const ST_DAX_BUTTON_SECTION& section, const ST_DAX_BUTTON_PLACEMENT& placement,
                          int* loadCode)
{
    auto* button = new CDaxButton;
    if (!button)
        return nullptr;
    CxString path;
    int code = BuildGamePathFromData(path, section.fileName.GetText());
    if (code != PIM_OK)
        code = ReportError(code, "The picture name of %s is too long: %.40s...", section.section.GetText(),
                           section.fileName.GetText());
    else
        code = button->Load(path.GetText(), section.numFrames);
    // The failure is reported; a button without a picture still takes part.
    button->ClearError();
    if (loadCode)
        *loadCode = code;

    button->SetControlId(section.controlId);
    button->SetPixelHitTest(section.maskOnly);
    button->SetCursorId(section.cursor);
    button->SetName(section.name.GetText());
    button->SetClickText(section.onClick.GetText());
    button->SetEnterText(section.onMouseEnter.GetText());
    button->SetLeaveText(section.onMouseLeave.GetText());
    button->SetZ(placement.z);
    if (placement.parent)
        placement.parent->AddChild(button);
    if (placement.usePosition)
        button->SetPosition(section.position, PIM_ANCHOR_TOP_LEFT);
    if (placement.shown)
        button->Show();
    return button;
}

int DaxLoadButtonSections(CxOptions& store, const ST_DAX_BUTTON_PLACEMENT& placement, DaxButtonList& out)
{
    int first = PIM_OK;
    ST_DAX_BUTTON_SECTION section;
    for (int index = 0; index < DAX_BUTTON_SECTIONS_MAX && DaxReadButtonSection(store, index, section); ++index) {
        int code = PIM_OK;
        CDaxButton* button = DaxMakeButton(section, placement, &code);
        if (button && !out.Append(button)) {
            delete button;
            button = nullptr;
        }
        if (!button)
            code = PIM_ERR_OUT_OF_MEMORY; // the allocator has said so
        if (first == PIM_OK)
            first = code;
    }
    return first;
}

CDaxButton* DaxFindButton(const DaxButtonList& list, const char* name)
{
    if (!name)
        return nullptr;
    for (const auto* node = list.GetFirst(); node; node = node->GetNext())
        if (PimStrEqual(node->GetElement()->GetName(), name, true))
            return node->GetElement();
    return nullptr;
}

void DaxDeleteButtons(DaxButtonList& list)
{
    CDaxButton* button = nullptr;
    while (list.PopFront(button))
        delete button;
}

#include "app/Ui3dPrint.h"

#include "app/Quorvane.h"
#include "app/UiDialogTemplates.h"
#include "app/UiGLPane.h"
#include "app/UiMainFrame.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "render/ReGLHost.h"

#include <wx/sizer.h>

namespace {

std::function<void(Ui3dPrint&)> openedHook;

}

const int Ui3dPrint::sampleCounts[4] = {8, 4, 2, 0};

Ui3dPrint::Ui3dPrint(wxWindow* parent)
    : UiDialog(parent, templateId,
               Quorvane::exists() ? Quorvane::instance().shellText("dialog 121", "3D Printing")
                                  : wxString("3D Printing"))
{
    SetWindowStyleFlag(GetWindowStyleFlag() | wxRESIZE_BORDER);
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    SetClientSize(layout ? ConvertDialogToPixels(wxSize(layout->width, layout->height)) : wxSize(800, 600));
    pane = new UiGLPane(this, wxID_ANY, false, sampleCounts, 4);
    wxBoxSizer* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(pane, 1, wxEXPAND);
    SetSizer(sizer);
    Layout();
    pane->paint = [this] { draw(); };
    pane->Bind(wxEVT_LEFT_DOWN, &Ui3dPrint::mouse, this);
    pane->Bind(wxEVT_RIGHT_DOWN, &Ui3dPrint::mouse, this);
    pane->Bind(wxEVT_LEFT_UP, &Ui3dPrint::mouse, this);
    pane->Bind(wxEVT_RIGHT_UP, &Ui3dPrint::mouse, this);
    pane->Bind(wxEVT_MOTION, &Ui3dPrint::mouse, this);
    pane->Bind(wxEVT_MOUSEWHEEL, &Ui3dPrint::mouse, this);
    view.resetCamera();
}

bool Ui3dPrint::buildMesh()
{
    EdContext& context = EdContext::current();
    QuorvaneDocument* document = context.activeDocument();
    EdView* active = context.activeView();
    return view.buildMesh(document, active ? &active->selection() : nullptr);
}

bool Ui3dPrint::draw()
{
    if (!pane || !pane->hasContext())
        return false;
    wxSize client = pane->GetClientSize();
    if (client.x <= 0 || client.y <= 0 || !pane->host()->makeCurrent())
        return false;
    if (!view.draw(client.x, client.y))
        return false;
    pane->host()->swapBuffers();
    return true;
}

void Ui3dPrint::mouse(wxMouseEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN) {
        view.press(event.GetX(), event.GetY());
    } else if (type == wxEVT_LEFT_UP || type == wxEVT_RIGHT_UP) {
        view.release();
    } else if (type == wxEVT_MOTION) {
        if (view.move(event.GetX(), event.GetY(), event.RightIsDown()))
            draw();
    } else if (type == wxEVT_MOUSEWHEEL) {
        view.wheel(event.GetWheelRotation());
        draw();
    }
}

void Ui3dPrint::setOpenedHook(std::function<void(Ui3dPrint&)> hook)
{
    openedHook = std::move(hook);
}

bool Ui3dPrint::run()
{
    wxWindow* parent = Quorvane::exists() ? static_cast<wxWindow*>(Quorvane::instance().mainFrame()) : nullptr;
    Ui3dPrint window(parent);
    if (!window.buildMesh())
        return false;
    if (openedHook)
        window.CallAfter([&window] {
            if (openedHook)
                openedHook(window);
        });
    window.CentreOnParent();
    window.ShowModal();
    return true;
}

#pragma once

#include "app/UiDialog.h"

class Quorvane;

// About Quorvane: the logo, the version and a link to the home page in the
// language of the setting "Language".
class UiAboutDialog : public UiDialog
{
public:
    enum { versionLine = 1194, yearLine = 1195, homePageLink = 1321, logo = 1323 };

    UiAboutDialog(wxWindow* parent, Quorvane& app);

    // What a click on the link does.
    void openHomePage();

private:
    Quorvane& app;
};

#pragma once

#include "about/taboutform.h"
#include "app/tbaseform.h"
#include "app/tzastform.h"
#include "editor/teditiniform.h"

/**
 * The program's four windows, each created once and kept for the whole run. They are created in
 * the order of the members: the main window first (its creation handler runs before any other
 * window exists), then the About box, the button editor and the splash screen.
 */
struct Program
{
    Program(BaseState &state, const Services &services);

    TBaseForm BaseForm;
    TAboutForm AboutForm;
    TEditIniForm EditIniForm;
    TZastForm ZastForm;
};

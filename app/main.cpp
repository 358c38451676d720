#include "about/taboutform.h"
#include "app/fonts.h"
#include "app/tbaseform.h"
#include "app/tzastform.h"
#include "editor/teditiniform.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/qtdialogs.h"
#include "platform/winpath.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The program takes nothing from its command line: Qt's own options are all it reads.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvel"));
    installFontSubstitutes();

    const platform::WinPath paths = platform::WinPath::fromEnvironment();
    platform::ProfileStore profiles(paths);
    platform::QtDialogs dialogs(paths, QStringLiteral("Karvel"));
    platform::ErrorBoundary boundary(dialogs);
    const Services services{paths, profiles, dialogs, boundary};

    BaseState state;
    TBaseForm baseForm(state, services);
    TAboutForm aboutForm(services, &baseForm);
    TEditIniForm editIniForm(state, services, baseForm, &baseForm);
    TZastForm zastForm(services, &baseForm);
    baseForm.setOtherWindows(&aboutForm, &editIniForm, &zastForm);

    baseForm.showMaximized();
    return application.exec();
}

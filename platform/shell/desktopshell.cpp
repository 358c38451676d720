#include "platform/shell/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

namespace {

/** The desktop's link handlers. */
class DesktopShell : public Shell
{
public:
    void open(const QString &target) override
    {
        const QUrl url(target, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || (scheme != QLatin1String("mailto") &&
                               scheme != QLatin1String("http") && scheme != QLatin1String("https")))
            return;
        QDesktopServices::openUrl(url);
    }
};

} // namespace

std::unique_ptr<Shell> createDesktopShell()
{
    return std::make_unique<DesktopShell>();
}

} // namespace platform

#include "platform/errorboundary.h"

#include "platform/dialogs.h"
#include "platform/platformerror.h"

#include <QString>

namespace platform {

void ErrorBoundary::run(const std::function<void()> &handler) noexcept
{
    // Nested only when program code set a value whose change signal runs this handler. A timer
    // or a click that a modal window's own loop delivers is a handler of its own and is shown.
    if (m_firing > 0) {
        try {
            handler();
        } catch (...) {
            if (!m_pending)
                m_pending = std::current_exception();
        }
        return;
    }
    try {
        handler();
    } catch (...) {
        show(std::current_exception());
    }
}

void ErrorBoundary::fire(const std::function<void()> &trigger)
{
    ++m_firing;
    struct Done
    {
        int &firing;
        ~Done() { --firing; }
    } done{m_firing};
    trigger();
    if (m_pending)
        std::rethrow_exception(std::exchange(m_pending, nullptr));
}

void ErrorBoundary::show(const std::exception_ptr &error) noexcept
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const PlatformError &e) {
        text = e.text();
    } catch (const std::exception &e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    try {
        m_dialogs.showError(text);
    } catch (...) {
        // The error box itself failed; there is nothing left to tell the user with.
    }
}

} // namespace platform

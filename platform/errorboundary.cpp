#include "platform/errorboundary.h"

#include "platform/dialogs.h"
#include "platform/platformerror.h"

#include <QString>

namespace platform {

void ErrorBoundary::run(const std::function<void()> &handler) noexcept
{
    const bool outermost = m_depth == 0;
    ++m_depth;
    try {
        handler();
    } catch (...) {
        if (!m_pending)
            m_pending = std::current_exception();
    }
    --m_depth;
    if (outermost && m_pending) {
        // Also reached when nested code kept an error that no `fire` passed on.
        const std::exception_ptr error = std::exchange(m_pending, nullptr);
        show(error);
    }
}

void ErrorBoundary::fire(const std::function<void()> &trigger)
{
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

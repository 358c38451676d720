#pragma once

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace platform {

class Dialogs;

/**
 * The one boundary around every event handler: an error a handler throws is shown in the
 * standard error box, the rest of that handler is skipped, and the program goes on.
 *
 * A change handler that program code sets off (setting a bar's position fires its change
 * signal) runs nested inside the handler that set the value. Its error must end that outer
 * handler too, as a direct call would; but it must not unwind through the toolkit's signal
 * code. So a nested handler's error is kept, and `fire` passes it on once the toolkit call
 * that fired the signal has returned. Handlers that a modal window's event loop delivers (a
 * timer, a click in a dialog) are not nested: their errors are shown at once.
 */
class ErrorBoundary
{
public:
    explicit ErrorBoundary(Dialogs &dialogs) : m_dialogs(dialogs) {}
    ErrorBoundary(const ErrorBoundary &) = delete;
    ErrorBoundary &operator=(const ErrorBoundary &) = delete;

    /**
     * Runs a handler. An error is shown, unless the handler runs inside `fire` (a change signal
     * that program code set off), where it is kept for `fire` to pass on.
     */
    void run(const std::function<void()> &handler) noexcept;

    /**
     * A slot that runs `handler` inside the boundary, for `connect`. The handler takes the
     * signal's arguments, or none (a click handler that ignores `clicked(bool)`).
     */
    template <typename Handler> auto guard(Handler handler)
    {
        return [this, handler](auto &&...args) {
            run([&] {
                if constexpr (std::is_invocable_v<const Handler &, decltype(args)...>)
                    handler(std::forward<decltype(args)>(args)...);
                else
                    handler();
            });
        };
    }

    /**
     * Runs toolkit code that may fire guarded change handlers (a setValue, a setChecked) and
     * rethrows the first error one of them threw, so the calling handler ends there.
     */
    void fire(const std::function<void()> &trigger);


private:
    void show(const std::exception_ptr &error) noexcept;

    Dialogs &m_dialogs;
    int m_firing = 0; // calls of fire() under way
    std::exception_ptr m_pending;
};

} // namespace platform

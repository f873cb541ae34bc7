#pragma once
// The door where a signal enters our code. Handlers may throw DbError (an engine's
// refusal) or SilentAbort (a check that has shown its message); Qt does not carry
// exceptions through its event loop, so every handler a user's action reaches is
// connected through onSignal, which runs it under the default error display
// (shell/Guard.h) right where the signal is delivered: the handler ends, its text
// is shown, the window stays. HalvorraApp::notify keeps only a last guard for
// events that reach no handler of ours.
//
//   onSignal(button, &QPushButton::clicked, this, &TFrmX::btnOKClick);
//   onSignal(list, &QComboBox::activated, this, [this](int i) { ... });
//
// The handler takes the signal's arguments or none.
#include "shell/Guard.h"

#include <QObject>
#include <functional>
#include <type_traits>

namespace DoorDetail
{

template <typename Handler, typename... Args> void call(Handler& h, Args&&... args)
{
    if constexpr (std::is_invocable_v<Handler&, Args...>)
        std::invoke(h, std::forward<Args>(args)...);
    else
        std::invoke(h);
}

template <typename Receiver, typename Handler, typename... Args>
void callMember(Receiver* r, Handler h, Args&&... args)
{
    if constexpr (std::is_invocable_v<Handler, Receiver*, Args...>)
        std::invoke(h, r, std::forward<Args>(args)...);
    else
        std::invoke(h, r);
}

} // namespace DoorDetail

// `handler`: a member function of `receiver`, or any callable that lives as long
// as `receiver` (the connection's context).
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, Receiver* receiver, Handler handler)
{
    if constexpr (std::is_member_function_pointer_v<Handler>) {
        return QObject::connect(sender, signal, receiver, [receiver, handler](auto&&... args) {
            guarded([&] {
                DoorDetail::callMember(receiver, handler, std::forward<decltype(args)>(args)...);
            });
        });
    } else {
        return QObject::connect(
            sender, signal, receiver, [handler = std::move(handler)](auto&&... args) mutable {
                guarded([&] { DoorDetail::call(handler, std::forward<decltype(args)>(args)...); });
            });
    }
}

// A callable with the sender as its context.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, Handler handler)
{
    return onSignal(sender, signal, sender, std::move(handler));
}

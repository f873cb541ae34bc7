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
#include <tuple>
#include <type_traits>
#include <utility>

namespace DoorDetail
{

// Whether f can take the first N of the signal's arguments (after `front`, the
// receiver of a member function).
template <typename F, typename Tuple, typename... Front, std::size_t... I>
constexpr bool takes(std::index_sequence<I...>)
{
    return std::is_invocable_v<F, Front..., std::tuple_element_t<I, Tuple>...>;
}

// Calls f with as many of the signal's arguments as it takes, from the first on.
template <std::size_t N, typename F, typename Tuple, typename... Front>
void callWith(F& f, Tuple& args, Front... front)
{
    if constexpr (takes<F&, Tuple, Front...>(std::make_index_sequence<N>{})) {
        [&]<std::size_t... I>(std::index_sequence<I...>)
        {
            std::invoke(f, front..., std::get<I>(args)...);
        }
        (std::make_index_sequence<N>{});
    } else {
        static_assert(N > 0, "the handler takes none of the signal's arguments");
        if constexpr (N > 0) callWith<N - 1>(f, args, front...);
    }
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
                auto all = std::forward_as_tuple(args...);
                auto h = handler;
                DoorDetail::callWith<sizeof...(args)>(h, all, receiver);
            });
        });
    } else {
        return QObject::connect(sender, signal, receiver,
                                [handler = std::move(handler)](auto&&... args) mutable {
                                    guarded([&] {
                                        auto all = std::forward_as_tuple(args...);
                                        DoorDetail::callWith<sizeof...(args)>(handler, all);
                                    });
                                });
    }
}

// A callable with the sender as its context.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, Handler handler)
{
    return onSignal(sender, signal, sender, std::move(handler));
}

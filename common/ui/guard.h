// The guard every screen handler runs under: a button's click, a field's edit, a timer, a key.
// An error a handler lets out is answered here, inside the handler's own call, so that it never
// unwinds through the event loop's frames:
//   a refusal (another workstation changed the data)   its message, and work goes on;
//   a failed business step                             its code, and the program closes;
//   anything else (a database error, a broken rule)    the internal-error message and the
//                                                      reference of its entry in the error log,
//                                                      and the program closes.
// A screen connects through connectGuarded() only; a bare connect( in a screen file fails the
// architecture test. Keys bound through KeyboardMap run under the guard by themselves.
#pragma once

#include <QObject>

#include <concepts>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace sorrel::ui {

// Answers an error a handler let out (see above); never throws.
void answerEscapedError(std::exception_ptr error) noexcept;

// Runs `body` under the guard.
template <typename F> void runGuarded(F&& body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (...) {
        answerEscapedError(std::current_exception());
    }
}

// Runs `body` under the guard and answers what it returns, or `onError` when it failed (for
// event filters: true swallows the event that failed).
template <typename F, typename R> R runGuarded(F&& body, R onError) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        answerEscapedError(std::current_exception());
        return onError;
    }
}

namespace detail {

// A callable under the guard. Callable with exactly the argument lists the wrapped one takes,
// so Qt hands it as many of a signal's arguments as the handler wants.
template <typename F> class Guarded {
  public:
    explicit Guarded(F f) : f_(std::move(f)) {}
    template <typename... A>
    requires std::invocable<F&, A...>
    void operator()(A&&... args) {
        runGuarded([&] { std::invoke(f_, std::forward<A>(args)...); });
    }

  private:
    F f_;
};

// A member function bound to its object, under the guard.
template <typename Object, typename Member> class GuardedMember {
  public:
    GuardedMember(Object* object, Member member) : object_(object), member_(member) {}
    template <typename... A>
    requires std::invocable<Member, Object*, A...>
    void operator()(A&&... args) {
        runGuarded([&] { std::invoke(member_, object_, std::forward<A>(args)...); });
    }

  private:
    Object* object_;
    Member member_;
};

} // namespace detail

// `handler` under the guard, for QTimer::singleShot, QMetaObject::invokeMethod and the like.
template <typename F> auto guarded(F&& handler) {
    return detail::Guarded<std::decay_t<F>>(std::forward<F>(handler));
}
template <typename Object, typename Member>
requires std::is_member_function_pointer_v<Member>
auto guarded(Object* object, Member member) {
    return detail::GuardedMember<Object, Member>(object, member);
}

// QObject::connect(sender, signal, context, handler) with the handler under the guard. `handler`
// is a member function of `context` (a slot or a signal) or any callable; the connection ends
// with `context`, as Qt's does.
template <typename Sender, typename Signal, typename Context, typename Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Context* context,
                                       Handler&& handler, Qt::ConnectionType type = Qt::AutoConnection) {
    if constexpr (std::is_member_function_pointer_v<std::decay_t<Handler>>)
        return QObject::connect(sender, signal, context, guarded(context, handler), type);
    else
        return QObject::connect(sender, signal, context, guarded(std::forward<Handler>(handler)), type);
}

} // namespace sorrel::ui

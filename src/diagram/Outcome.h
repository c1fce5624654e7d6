// A value or the reason why it could not be computed: the view geometry never
// divides by zero or hands out non-finite coordinates, it says why instead.
#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace diagram {

template <typename T>
class Outcome {
public:
    static Outcome Success(T value)
    {
        Outcome o;
        o.value_ = std::move(value);
        return o;
    }
    static Outcome Failure(QString reason)
    {
        Outcome o;
        o.error_ = std::move(reason);
        return o;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only after ok().
    const T& value() const { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Empty after ok().
    const QString& error() const { return error_; }

private:
    Outcome() = default;
    std::optional<T> value_;
    QString error_;
};

// The outcome of an action that has no value of its own.
struct Done {};
using Status = Outcome<Done>;
inline Status Succeeded() { return Status::Success(Done{}); }

}  // namespace diagram

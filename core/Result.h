#pragma once

#include <QString>

#include <optional>
#include <utility>

// A failure: the message to show, naming what failed and carrying the
// system's reason. Converts to any Result, so `return Failure{message};`.
struct Failure
{
    QString message;
};

// The outcome of an operation that can fail: its value (nothing for
// Result<>) or a Failure. Every fallible operation of the core returns one.
template<typename T = void>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Failure failure)
        : m_error(std::move(failure.message))
    {
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

    const T &value() const { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    QString m_error;
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_failed(true)
        , m_error(std::move(failure.message))
    {
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};

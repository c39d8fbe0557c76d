// Results at the boundaries: what platform services and components return instead of raising. A
// failure carries its kind (so a caller can tell an unreadable file from damaged data), the code of
// the service that failed when it has one (a search code, a media-device code), and a message for
// logs and the command-line tool. The program's own messages are chosen by the command that
// reports the failure, never taken from here.
#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace platform {

struct Error
{
    enum class Kind {
        FileOpen,    // the file could not be opened or read at all
        InvalidData, // the data is damaged, truncated, or not of the format its name says
        TooLarge,    // the data asks for more than the decoders' limit
        Device,      // a media device refused (code holds the device's code)
        Io,          // a write failed (settings file, copy)
        Other
    };
    Kind kind = Kind::Other;
    QString message;
    int code = 0;
};

// Success, or an Error.
class [[nodiscard]] Status
{
public:
    Status() = default;
    Status(Error error) : m_error(std::move(error)) {} // NOLINT: a failure converts implicitly
    static Status success() { return {}; }

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return *m_error; }
    QString message() const { return m_error ? m_error->message : QString(); }

private:
    std::optional<Error> m_error;
};

// A value, or an Error.
template <typename T> class [[nodiscard]] ErrorOr
{
public:
    ErrorOr(T value) : m_value(std::move(value)) {} // NOLINT
    ErrorOr(Error error) : m_error(std::move(error)) {} // NOLINT

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T &value() { return *m_value; }
    const T &value() const { return *m_value; }
    T &operator*() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }
    const Error &error() const { return m_error; }
    Status status() const { return ok() ? Status() : Status(m_error); }

private:
    std::optional<T> m_value;
    Error m_error;
};

inline Error makeError(Error::Kind kind, const QString &message, int code = 0)
{
    return Error{kind, message, code};
}

} // namespace platform

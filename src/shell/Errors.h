// The runtime's exception classes. They are not caught by the command that raised them: the
// application's handler shows the standard exception box with their message and the program goes on.
#pragma once

#include <QString>
#include <stdexcept>

class ERuntimeError : public std::runtime_error
{
public:
    explicit ERuntimeError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// A file could not be written ("Ne peut écrire dans %s").
class EInOutError : public ERuntimeError
{
public:
    using ERuntimeError::ERuntimeError;
};

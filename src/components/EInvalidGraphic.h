// Errors raised by the picture components. A file whose data cannot be turned into a picture
// raises EInvalidGraphic; a file that cannot be opened or read at all raises EFileOpenError, so a
// caller can tell damaged data (reported as "File access error.") from an unreadable file.
#pragma once

#include <QString>
#include <stdexcept>

class EInvalidGraphic : public std::runtime_error
{
public:
    explicit EInvalidGraphic(const QString &message) : std::runtime_error(message.toStdString()) {}
};

class EFileOpenError : public std::runtime_error
{
public:
    explicit EFileOpenError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

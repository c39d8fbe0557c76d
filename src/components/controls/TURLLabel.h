// A link label: drawn underlined in blue, its address as its hint. An address containing "/" is a web
// link, otherwise one containing "@" is a mail link; a leading "mailto:" or "http://" given with the
// address is removed. A click opens "mailto:" or "http://" plus the address with the default handler.
#pragma once

#include <QLabel>

class TURLLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TURLLabel(QWidget *parent = nullptr);
    void setAddress(const QString &address);
    QString address() const { return m_address; }
    // The address the click opens ("http://..." or "mailto:...").
    QString target() const;
    void open();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_address;
};

// A link label: drawn underlined in blue, its address as its hint. An address containing "/" is a web
// link, otherwise one containing "@" is a mail link; a leading "mailto:" or "http://" given with the
// address is removed; one given with "https://" opens with that scheme. A click, Return, Enter or Space asks
// for "mailto:" or "http://" plus the address to be opened: the label emits openRequested() and its owner
// hands the address to the desktop, so the control needs no service of its own.
#pragma once

#include <QLabel>
#include <QUrl>

class TURLLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TURLLabel(QWidget *parent = nullptr);
    void setAddress(const QString &address);
    QString address() const { return m_address; }
    // The address the click opens ("http://..." or "mailto:...").
    QString target() const;
    // Emits openRequested(target()); nothing without an address.
    void open();

signals:
    void openRequested(const QUrl &url);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_address;
    bool m_secure = false; // given as "https://": opened with that scheme
};

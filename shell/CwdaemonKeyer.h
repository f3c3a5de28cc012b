#pragma once

#include "shell/Keyer.h"

class QTimer;
class QUdpSocket;

// cwdaemon reads these in a text as speed changes, 2 wpm up or down each, and has no escape to key them
constexpr char16_t kCwdaemonSpeedSigns[] = u"+-";

// cwdaemon over UDP. Each text is sent with an echo request, which cwdaemon answers once it has keyed
// the text: a keyer that does not answer by then, or whose port is closed, has failed.
class CwdaemonKeyer : public Keyer
{
    Q_OBJECT

public:
    CwdaemonKeyer(QString host, int port, QObject* parent = nullptr);
    ~CwdaemonKeyer() override;

    void send(const QString& text, int wpm) override;
    void stop() override;
    bool isSending() const override { return m_sending; }

private:
    void write(const QByteArray& datagram);
    void readAnswers();
    void fail(const QString& reason);

    QString m_host;
    quint16 m_port;
    QUdpSocket* m_socket;
    QTimer* m_deadline;
    // datagrams written before the host's name is looked up
    QList<QByteArray> m_unsent;
    int m_echo = 0;
    bool m_sending = false;
};

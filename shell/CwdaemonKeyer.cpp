#include "shell/CwdaemonKeyer.h"

#include "contest/CwMessages.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

using namespace Qt::Literals::StringLiterals;

namespace
{
// cwdaemon's requests: an escape, a letter and the argument
const QByteArray kSpeed = QByteArrayLiteral("\x1b"
                                            "2");
const QByteArray kEcho = QByteArrayLiteral("\x1b"
                                           "h");
const QByteArray kAbort = QByteArrayLiteral("\x1b"
                                            "4");
// cwdaemon answers an echo request at the end of the text; it may start late on a loaded machine
constexpr int kAnswerMarginMs = 2000;
} // namespace

CwdaemonKeyer::CwdaemonKeyer(QString host, int port, QObject* parent)
    : Keyer(parent)
    , m_host(std::move(host))
    , m_port(quint16(port))
    , m_socket(new QUdpSocket(this))
    , m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this,
            [this] { fail(u"cwdaemon at %1:%2 does not answer"_s.arg(m_host).arg(m_port)); });
    connect(m_socket, &QUdpSocket::connected, this, [this] {
        for (const QByteArray& datagram : std::exchange(m_unsent, {})) {
            write(datagram);
        }
    });
    connect(m_socket, &QUdpSocket::readyRead, this, &CwdaemonKeyer::readAnswers);
    connect(m_socket, &QUdpSocket::errorOccurred, this, [this] {
        const QString reason = u"cwdaemon at %1:%2 cannot be reached (%3)"_s.arg(m_host).arg(m_port).arg(
            m_socket->errorString());
        // the next text tries afresh
        m_socket->abort();
        m_unsent.clear();
        fail(reason);
    });
}

CwdaemonKeyer::~CwdaemonKeyer()
{
    stop();
}

void CwdaemonKeyer::send(const QString& text, int wpm)
{
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        // a name is looked up without waiting for it: the datagrams wait until it is known
        m_socket->connectToHost(m_host, m_port);
    }
    ++m_echo;
    m_sending = true;
    write(kSpeed + QByteArray::number(wpm));
    write(kEcho + QByteArray::number(m_echo));
    write(text.toLatin1());
    m_deadline->start(morseDurationMs(text, wpm) + kAnswerMarginMs);
}

void CwdaemonKeyer::stop()
{
    if (!m_sending) {
        return;
    }
    m_sending = false;
    m_deadline->stop();
    write(kAbort);
}

void CwdaemonKeyer::write(const QByteArray& datagram)
{
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_socket->write(datagram);
    } else if (m_socket->state() != QAbstractSocket::UnconnectedState) {
        m_unsent.append(datagram);
    }
}

void CwdaemonKeyer::readAnswers()
{
    while (m_socket->hasPendingDatagrams()) {
        const QByteArray answer = m_socket->receiveDatagram().data().trimmed();
        // the answer to a text stopped before its end is not the one awaited
        if (m_sending && answer == QByteArray("h") + QByteArray::number(m_echo)) {
            m_sending = false;
            m_deadline->stop();
            Q_EMIT sent();
        }
    }
}

void CwdaemonKeyer::fail(const QString& reason)
{
    if (!m_sending) {
        return;
    }
    m_sending = false;
    m_deadline->stop();
    Q_EMIT failed(reason);
}

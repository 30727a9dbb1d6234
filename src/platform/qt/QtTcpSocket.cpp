#include "platform/qt/QtTcpSocket.h"

#include <QSslConfiguration>
#include <QSslSocket>
#include <QStringList>
#include <QTimer>

#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

TcpError ToTcpError(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return TcpError::Refused;
        case QAbstractSocket::HostNotFoundError:
            return TcpError::HostNotFound;
        case QAbstractSocket::RemoteHostClosedError:
            return TcpError::RemoteClosed;
        case QAbstractSocket::SslHandshakeFailedError:
        case QAbstractSocket::SslInternalError:
        case QAbstractSocket::SslInvalidUserDataError:
            return TcpError::Tls;
        default:
            return TcpError::Other;
    }
}

}  // namespace

QtTcpSocket::QtTcpSocket(QList<QSslCertificate> extraAuthorities)
    : socket_(std::make_unique<QSslSocket>()), extraAuthorities_(std::move(extraAuthorities)) {
    QSslSocket* s = socket_.get();
    QObject::connect(s, &QSslSocket::connected, s, [this] {
        if (!tlsFromStart_) {
            Post([this] {
                if (onConnected) {
                    onConnected();
                }
            });
        }
    });
    QObject::connect(s, &QSslSocket::encrypted, s, [this] {
        const bool fromStart = tlsFromStart_;
        Post([this, fromStart] {
            const auto& callback = fromStart ? onConnected : onEncrypted;
            if (callback) {
                callback();
            }
        });
    });
    QObject::connect(s, &QSslSocket::readyRead, s, [this] {
        const QByteArray block = socket_->readAll();
        if (block.isEmpty()) {
            return;
        }
        Post([this, data = block.toStdString()] {
            if (onData) {
                onData(data);
            }
        });
    });
    QObject::connect(s, &QSslSocket::sslErrors, s, [this](const QList<QSslError>& errors) {
        QStringList texts;
        for (const QSslError& e : errors) {
            texts << e.errorString();
        }
        // Never ignored: the handshake fails and the connection ends.
        ReportError(TcpError::Certificate, FromQt(texts.join("; ")));
    });
    QObject::connect(s, &QSslSocket::errorOccurred, s, [this](QAbstractSocket::SocketError e) {
        ReportError(ToTcpError(e), FromQt(socket_->errorString()));
    });
}

QtTcpSocket::~QtTcpSocket() {
    ++generation_;
    socket_->disconnect();
    socket_->abort();
}

void QtTcpSocket::Post(std::function<void()> event) {
    const int generation = generation_;
    QTimer::singleShot(0, socket_.get(), [this, generation, event = std::move(event)] {
        if (generation == generation_) {
            event();
        }
    });
}

void QtTcpSocket::ReportError(TcpError error, const std::string& detail) {
    // The first error tells what happened; the ones that follow from it add nothing.
    if (failed_) {
        return;
    }
    failed_ = true;
    Post([this, error, detail] {
        if (onError) {
            onError(error, detail);
        }
    });
}

void QtTcpSocket::Connect(const std::string& host, std::uint16_t port, bool tls) {
    Close();
    tlsFromStart_ = tls;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    if (!extraAuthorities_.isEmpty()) {
        config.addCaCertificates(extraAuthorities_);
    }
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket_->setSslConfiguration(config);
    if (tls) {
        socket_->connectToHostEncrypted(ToQt(host), port);
    } else {
        socket_->connectToHost(ToQt(host), port);
    }
}

void QtTcpSocket::StartTls() {
    socket_->startClientEncryption();
}

void QtTcpSocket::Send(const std::string& bytes) {
    socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void QtTcpSocket::Close() {
    ++generation_;
    failed_ = false;
    socket_->abort();
    // abort() may report errors of its own; they belong to the connection just closed.
    failed_ = false;
    ++generation_;
}

TcpSocket::State QtTcpSocket::GetState() const {
    if (failed_) {
        return State::Error;
    }
    switch (socket_->state()) {
        case QAbstractSocket::HostLookupState:
        case QAbstractSocket::ConnectingState:
            return State::Connecting;
        case QAbstractSocket::ConnectedState:
            return tlsFromStart_ && !socket_->isEncrypted() ? State::Connecting : State::Connected;
        case QAbstractSocket::ClosingState:
            return State::Closing;
        default:
            return State::Closed;
    }
}

QtTcpSocketFactory::QtTcpSocketFactory(const std::vector<std::string>& authorityFiles) {
    for (const std::string& file : authorityFiles) {
        extraAuthorities_ += QSslCertificate::fromPath(ToQt(file));
    }
}

std::unique_ptr<TcpSocket> QtTcpSocketFactory::CreateSocket() {
    return std::make_unique<QtTcpSocket>(extraAuthorities_);
}

}  // namespace kestrelon

#pragma once

#include <QList>
#include <QSslCertificate>
#include <memory>
#include <string>
#include <vector>

#include "platform/TcpSocket.h"

class QSslSocket;

namespace kestrelon {

// The TCP client on QSslSocket. Certificates are verified against the system's authorities
// (and any extra ones given) for the host name; one that does not verify ends the connection
// with TcpError::Certificate. Events are delivered from the event loop, never from inside a Qt
// signal, so a callback may close or reconnect the socket.
class QtTcpSocket : public TcpSocket {
  public:
    explicit QtTcpSocket(QList<QSslCertificate> extraAuthorities = {});
    ~QtTcpSocket() override;
    QtTcpSocket(const QtTcpSocket&) = delete;
    QtTcpSocket& operator=(const QtTcpSocket&) = delete;

    void Connect(const std::string& host, std::uint16_t port, bool tls) override;
    void StartTls() override;
    void Send(const std::string& bytes) override;
    void Close() override;
    State GetState() const override;

  private:
    void Post(std::function<void()> event);
    void ReportError(TcpError error, const std::string& detail);

    std::unique_ptr<QSslSocket> socket_;
    QList<QSslCertificate> extraAuthorities_;
    bool tlsFromStart_ = false;
    bool failed_ = false;
    // Events posted for an earlier connection are dropped.
    int generation_ = 0;
};

class QtTcpSocketFactory : public TcpSocketFactory {
  public:
    QtTcpSocketFactory() = default;
    // Also trusts the certificate authorities in these PEM files (a test's own, for example).
    explicit QtTcpSocketFactory(const std::vector<std::string>& authorityFiles);
    std::unique_ptr<TcpSocket> CreateSocket() override;

  private:
    QList<QSslCertificate> extraAuthorities_;
};

}  // namespace kestrelon

#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

namespace kestrelon::test {

// Lets the event loop run until the condition holds or the real time is up.
inline bool SpinUntil(const std::function<bool()>& condition, int limitMs = 15000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return condition();
}

// A TCP server on a free 127.0.0.1 port that answers each received block with what answer
// returns (nothing for an empty text), after greeting with greeting when that is not empty.
// It keeps every block it received.
class ScriptedServer {
  public:
    explicit ScriptedServer(std::string greeting = {},
                            std::function<std::string(const std::string&)> answer = {})
        : greeting_(std::move(greeting)), answer_(std::move(answer)) {
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* peer = server_.nextPendingConnection()) {
                ++connections;
                if (!greeting_.empty()) {
                    peer->write(greeting_.data(), static_cast<qint64>(greeting_.size()));
                }
                QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer] {
                    const std::string block = peer->readAll().toStdString();
                    received.push_back(block);
                    const std::string reply = answer_ ? answer_(block) : std::string();
                    if (!reply.empty()) {
                        peer->write(reply.data(), static_cast<qint64>(reply.size()));
                    }
                });
            }
        });
        listening = server_.listen(QHostAddress::LocalHost, 0);
    }

    std::uint16_t Port() const { return server_.serverPort(); }

    bool listening = false;
    int connections = 0;
    std::vector<std::string> received;

  private:
    QTcpServer server_;
    std::string greeting_;
    std::function<std::string(const std::string&)> answer_;
};

}  // namespace kestrelon::test

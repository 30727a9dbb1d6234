#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kestrelon::test {

// A free TCP port on 127.0.0.1 at this moment.
inline std::uint16_t FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

inline bool LoopbackPortAccepts(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// Runs a program without a shell, its output into a file; -1 when it cannot start.
inline pid_t Spawn(const std::vector<std::string>& words, const std::string& outputFile) {
    std::vector<std::string> store = words;
    std::vector<char*> argv;
    for (auto& w : store) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A Dovecot POP3 server of its own for one test: a throw-away configuration in a temporary
// directory, listening on free loopback ports only, with a self-signed certificate for
// 127.0.0.1 made by openssl. Error() says why it could not be started; tests fail with it.
class DovecotServer {
  public:
    struct Mailbox {
        std::string user;
        std::string password;
        int messages = 0;
    };

    // With tls, the plain port offers STLS and a second port speaks pop3s.
    DovecotServer(const std::vector<Mailbox>& mailboxes, bool tls) { Start(mailboxes, tls); }
    ~DovecotServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            for (int i = 0; i < 100 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, WNOHANG);
        }
        if (!dir_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(dir_, ignored);
        }
    }
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    const std::string& Error() const { return error_; }
    std::uint16_t Port() const { return port_; }
    std::uint16_t TlsPort() const { return tlsPort_; }
    std::string CertificateFile() const { return dir_ + "/cert.pem"; }
    std::string Log() const { return FileText(dir_ + "/dovecot.log"); }

  private:
    static std::string FindDovecot() {
        for (const char* path : {"/usr/sbin/dovecot", "/usr/local/sbin/dovecot"}) {
            if (::access(path, X_OK) == 0) {
                return path;
            }
        }
        return {};
    }

    bool Run(const std::vector<std::string>& words) {
        const pid_t pid = Spawn(words, dir_ + "/setup.out");
        int status = 0;
        return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
               WEXITSTATUS(status) == 0;
    }

    void Start(const std::vector<Mailbox>& mailboxes, bool tls) {
        const std::string dovecot = FindDovecot();
        if (dovecot.empty() || ::access("/usr/lib/dovecot/pop3-login", X_OK) != 0) {
            error_ =
                "Dovecot's POP3 server is not installed: install the Debian package "
                "dovecot-pop3d (tools/install-deps.sh does)";
            return;
        }
        char pattern[] = "/tmp/kestrelon-dovecot-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            error_ = "cannot make a temporary directory for Dovecot";
            return;
        }
        dir_ = pattern;
        // Dovecot's own users must reach the mail and the sockets below.
        ::chmod(dir_.c_str(), 0755);

        // As root the server runs as Debian's dovecot users; otherwise as the caller.
        uid_t mailUid = ::getuid();
        gid_t mailGid = ::getgid();
        std::string internalUser, internalGroup, loginUser;
        if (mailUid == 0) {
            const passwd* dv = ::getpwnam("dovecot");
            const passwd* dn = ::getpwnam("dovenull");
            if (dv == nullptr || dn == nullptr) {
                error_ = "the system users dovecot and dovenull are missing (dovecot-core)";
                return;
            }
            mailUid = dv->pw_uid;
            mailGid = dv->pw_gid;
            internalUser = loginUser = "dovecot";
            loginUser = "dovenull";
        } else {
            const passwd* me = ::getpwuid(mailUid);
            const group* myGroup = ::getgrgid(mailGid);
            if (me == nullptr || myGroup == nullptr) {
                error_ = "cannot find the current user's name";
                return;
            }
            internalUser = loginUser = me->pw_name;
            internalGroup = myGroup->gr_name;
        }
        if (internalGroup.empty()) {
            const group* g = ::getgrgid(mailGid);
            internalGroup = g != nullptr ? g->gr_name : "dovecot";
        }

        std::ofstream users(dir_ + "/users");
        for (const Mailbox& box : mailboxes) {
            users << box.user << ":{PLAIN}" << box.password << "::::::\n";
            const std::string maildir = dir_ + "/mail/" + box.user + "/Maildir";
            for (const char* sub : {"/cur", "/new", "/tmp"}) {
                std::filesystem::create_directories(maildir + sub);
            }
            for (int i = 1; i <= box.messages; ++i) {
                std::ofstream(maildir + "/new/" + std::to_string(1700000000 + i) + ".M" +
                              std::to_string(i) + "P1.kestrelon-test")
                    << "From: sender@example.org\r\nSubject: Message " << i << "\r\n\r\nHello.\r\n";
            }
        }
        users.close();
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_ + "/mail")) {
            ::chown(entry.path().c_str(), mailUid, mailGid);
        }
        ::chown((dir_ + "/mail").c_str(), mailUid, mailGid);

        if (tls && !Run({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                         dir_ + "/key.pem", "-out", dir_ + "/cert.pem", "-days", "2", "-subj",
                         "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"})) {
            error_ = "openssl could not make a self-signed certificate (is openssl installed?): " +
                     FileText(dir_ + "/setup.out");
            return;
        }

        port_ = FreeLoopbackPort();
        tlsPort_ = tls ? FreeLoopbackPort() : 0;
        std::ofstream conf(dir_ + "/dovecot.conf");
        conf << "protocols = pop3\n"
             << "listen = 127.0.0.1\n"
             << "base_dir = " << dir_ << "/run\n"
             << "state_dir = " << dir_ << "/state\n"
             << "log_path = " << dir_ << "/dovecot.log\n"
             << "ssl = " << (tls ? "yes" : "no") << "\n";
        if (tls) {
            conf << "ssl_cert = <" << dir_ << "/cert.pem\n"
                 << "ssl_key = <" << dir_ << "/key.pem\n";
        }
        conf << "disable_plaintext_auth = no\n"
             << "auth_mechanisms = plain\n"
             << "auth_failure_delay = 0\n"
             << "default_internal_user = " << internalUser << "\n"
             << "default_internal_group = " << internalGroup << "\n"
             << "default_login_user = " << loginUser << "\n"
             << "first_valid_uid = " << mailUid << "\n"
             << "first_valid_gid = " << mailGid << "\n"
             << "mail_location = maildir:" << dir_ << "/mail/%u/Maildir\n"
             << "passdb {\n  driver = passwd-file\n  args = " << dir_ << "/users\n}\n"
             << "userdb {\n  driver = static\n  args = uid=" << mailUid << " gid=" << mailGid
             << " home=" << dir_ << "/mail/%u\n}\n"
             << "service pop3-login {\n"
             << "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " << port_
             << "\n  }\n";
        if (tls) {
            conf << "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << tlsPort_
                 << "\n    ssl = yes\n  }\n";
        }
        conf << "}\n";
        conf.close();

        pid_ = Spawn({dovecot, "-F", "-c", dir_ + "/dovecot.conf"}, dir_ + "/dovecot.out");
        if (pid_ <= 0) {
            error_ = "cannot start " + dovecot;
            return;
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < until) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                error_ = "Dovecot ended at start-up: " + FileText(dir_ + "/dovecot.out") +
                         FileText(dir_ + "/dovecot.log");
                return;
            }
            if (LoopbackPortAccepts(port_) && (!tls || LoopbackPortAccepts(tlsPort_))) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        error_ = "Dovecot did not listen on 127.0.0.1 within 15 s: " + Log();
    }

    std::string dir_;
    std::string error_;
    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
    std::uint16_t tlsPort_ = 0;
};

}  // namespace kestrelon::test

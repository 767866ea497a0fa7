#pragma once

// QEMU's mps2-an505 board (a Cortex-M33) with its gdbstub on a free local
// port, as a real target for the GDB link; its QMP socket tells whether the
// board runs without touching the gdbstub. The process is killed at the end.

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class QemuBoard
{
public:
    static QString Program() { return QStandardPaths::findExecutable("qemu-system-arm"); }

    // Starts the board halted (-S) with an idle loop in memory, or running
    // `firmware` when one is given. Without a program the core would lock up
    // (and QEMU end) as soon as a detach lets it run.
    bool Start(const QString &firmware = QString())
    {
        m_gdbPort = FreePort();
        m_qmpPort = FreePort();
        QStringList args{"-M",
                         "mps2-an505",
                         "-nographic",
                         "-monitor",
                         "none",
                         "-serial",
                         "none",
                         "-gdb",
                         QString("tcp:127.0.0.1:%1").arg(m_gdbPort),
                         "-qmp",
                         QString("tcp:127.0.0.1:%1,server=on,wait=off").arg(m_qmpPort)};
        if (firmware.isEmpty())
            args << "-S"
                 << "-device" << QString("loader,file=%1,addr=0x10000000").arg(IdleLoop());
        else
            args << "-kernel" << firmware;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(Program(), args);
        if (!m_process.waitForStarted(10000))
            return false;
        // The QMP socket answers once the board is built; the gdbstub is
        // listening by then, and it is not touched here.
        for (int i = 0; i < 200; ++i) {
            if (m_process.state() != QProcess::Running)
                return false;
            if (OpenQmp())
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    ~QemuBoard()
    {
        if (m_qmp >= 0)
            ::close(m_qmp);
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString GdbServer() const { return QString("127.0.0.1:%1").arg(m_gdbPort); }

    // QMP "query-status": "running", "paused", "debug", "prelaunch", ...
    QString Status()
    {
        const QJsonObject reply = Qmp(R"({"execute":"query-status"})");
        return reply.value("return").toObject().value("status").toString();
    }

private:
    // The smallest program: a vector table whose reset handler branches to
    // itself, at the secure code alias where the board looks for it.
    QString IdleLoop()
    {
        const QString path = m_folder.filePath("idle.bin");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::fromHex("00800030"
                                           "09000010"
                                           "fee70000"));
        return path;
    }

    static uint16_t FreePort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
        ::close(fd);
        return ntohs(address.sin_port);
    }

    bool OpenQmp()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(m_qmpPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            ::close(fd);
            return false;
        }
        m_qmp = fd;
        m_in.clear();
        if (!ReadLine().contains("QMP"))
            return false;
        return !Qmp(R"({"execute":"qmp_capabilities"})").contains("error");
    }

    // One command; its reply line, events skipped.
    QJsonObject Qmp(const QByteArray &command)
    {
        const QByteArray line = command + "\n";
        if (::send(m_qmp, line.constData(), size_t(line.size()), MSG_NOSIGNAL) != line.size())
            return {};
        for (;;) {
            const QByteArray reply = ReadLine();
            if (reply.isEmpty())
                return {};
            const QJsonObject object = QJsonDocument::fromJson(reply).object();
            if (!object.contains("event"))
                return object;
        }
    }

    QByteArray ReadLine()
    {
        for (;;) {
            const int end = m_in.indexOf('\n');
            if (end >= 0) {
                const QByteArray line = m_in.left(end);
                m_in.remove(0, end + 1);
                return line;
            }
            pollfd entry{m_qmp, POLLIN, 0};
            if (::poll(&entry, 1, 5000) <= 0)
                return {};
            char buffer[4096];
            const ssize_t n = ::recv(m_qmp, buffer, sizeof buffer, 0);
            if (n <= 0)
                return {};
            m_in.append(buffer, n);
        }
    }

    QTemporaryDir m_folder;
    QProcess m_process;
    uint16_t m_gdbPort = 0;
    uint16_t m_qmpPort = 0;
    int m_qmp = -1;
    QByteArray m_in;
};

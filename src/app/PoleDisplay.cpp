#include "app/PoleDisplay.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<QSerialPort> &port()
{
    static std::unique_ptr<QSerialPort> p;
    return p;
}

} // namespace

bool com_init(int portNumber, int baud)
{
    com_rest();
    if (portNumber < 1) return false;
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        return a.systemLocation() < b.systemLocation();
    });
    if (portNumber > ports.size()) return false;
    auto p = std::make_unique<QSerialPort>(ports[portNumber - 1]);
    p->setBaudRate(baud);
    p->setDataBits(QSerialPort::Data8);
    p->setParity(QSerialPort::NoParity);
    p->setStopBits(QSerialPort::OneStop);
    p->setFlowControl(QSerialPort::NoFlowControl);
    if (!p->open(QIODevice::WriteOnly)) return false;
    port() = std::move(p);
    return true;
}

bool com_send(const QByteArray &bytes)
{
    QSerialPort *p = port().get();
    if (!p || !p->isOpen()) return false;
    return p->write(bytes) == bytes.size();
}

void com_rest()
{
    if (port()) {
        port()->close();
        port().reset();
    }
}

bool poleDisplayOpen() { return port() && port()->isOpen(); }

QList<QByteArray> cartTotalPayload(const QString &totalText)
{
    QByteArray first("\x1B\x51\x41", 3);
    first += totalText.toLatin1();
    first += '\x0D';
    return {first, QByteArray("\x1B\x73\x32", 3)};
}

void showCartTotal(const QString &totalText)
{
    for (const QByteArray &b : cartTotalPayload(totalText)) com_send(b);
}

bool openPoleDisplay(const QString &displayPort)
{
    if (displayPort == QStringLiteral("0")) return true;
    bool isNumber = false;
    const int n = displayPort.trimmed().toInt(&isNumber);
    return isNumber && com_init(n, 2400);
}
